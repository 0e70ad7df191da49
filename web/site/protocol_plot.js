// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The protocol's plot, drawn from the plan the core makes
// (measurement/plot_plan.h), the same plan the desktop's painter draws: fill
// the frame; the lines in order with round caps; the marks (a disc, an
// outlier a ring); the texts at their anchors, vertical ones turned a
// quarter to the left. Nothing here places or sizes anything of its own.

// [canvas textAlign, textBaseline, SVG text-anchor, dominant-baseline] of each anchor.
const PLOT_ANCHORS = {
  topCentre: ["center", "top", "middle", "text-before-edge"],
  middleRight: ["right", "middle", "end", "central"],
  bottomCentre: ["center", "bottom", "middle", "text-after-edge"],
  middleCentre: ["center", "middle", "middle", "central"],
};

const plotFont = (plan, text, scale) =>
  `${text.bold ? "bold " : ""}${text.size * scale}px "${plan.fontFamily}", sans-serif`;

// The numbers of a mark in a plan to draw (protocol_module.js plotDrawing):
// x, y, radius, edge width, fill, edge (0xRRGGBB).
const PLOT_MARK_NUMBERS = 6;

// The numbers of a line in a plan to draw: x1, y1, x2, y2, width, colour (0xRRGGBB).
const PLOT_LINE_NUMBERS = 6;

const plotColour = (rgb) => `#${rgb.toString(16).padStart(6, "0")}`;

// The marks are stamped, in the plan's order, into the picture's pixels by
// the core (web/protocol/plot_pixels.cpp), from small pictures of one mark
// that the canvas makes (a disc, outlined), one for each look and each
// quarter of a device pixel that a mark lies off the pixel grid: thousands
// of marks are laid over the picture many times faster than the canvas
// fills and outlines as many circles, and by compiled code from the first
// plot on. The core also leaves out the lines that the marks hide and
// places the others on the device pixels.
class PlotPixels {
  static STAMP_NUMBERS = 8;  // of a stamp to be made: slot, size, centre x, y, radius, edge width, fill, edge

  // module: the protocol's core (varek_protocol.js).
  constructor(module) { this.m = module; }

  // The plan's marks placed on a picture width × height pixels, `scale`
  // device pixels a unit, and the stamps they need made: the lines to
  // stroke (PLOT_LINE_NUMBERS each, device pixels), read where they lie in
  // the core's memory (not copied: thousands of error bars would be a
  // few megabytes of garbage), so to be read before the core is called again.
  place(plan, scale, width, height) {
    const m = this.m;
    // Where the numbers are in the core's memory: a view of it is read
    // where it lies (asked before the core's memory may grow), others are copied.
    const inCore = (numbers) => (numbers.buffer === m.HEAPF64.buffer ? numbers.byteOffset : -1);
    const places = [inCore(plan.markNumbers), inCore(plan.lineNumbers)];
    // Counted now too: a view of it reads as empty once it has grown (for a copy, a stamp, the places).
    const markCount = plan.markNumbers.length / PLOT_MARK_NUMBERS;
    const lineCount = plan.lineNumbers.length / PLOT_LINE_NUMBERS;
    const copies = [];
    [plan.markNumbers, plan.lineNumbers].forEach((numbers, i) => {
      if (places[i] >= 0) return;
      places[i] = m._malloc(Math.max(1, numbers.length) * Float64Array.BYTES_PER_ELEMENT);
      copies.push(places[i]);
      m.HEAPF64.set(numbers, places[i] / Float64Array.BYTES_PER_ELEMENT);
    });
    try {
      const needed = m._varek_plot_place(places[0], markCount, scale, width, height);
      for (let n = 0; n < needed; ++n) this.stamp(n);
      const count = m._varek_plot_lines(places[1], lineCount, scale);
      const shown = m._varek_plot_shown_lines() / Float64Array.BYTES_PER_ELEMENT;
      return m.HEAPF64.subarray(shown, shown + count * PLOT_LINE_NUMBERS);
    } finally {
      for (const pointer of copies) m._free(pointer);
    }
  }

  // The n-th stamp that the marks placed last need, drawn by the canvas.
  stamp(n) {
    const m = this.m, at = m._varek_plot_needed() / Float64Array.BYTES_PER_ELEMENT + n * PlotPixels.STAMP_NUMBERS;
    const [slot, size, x, y, radius, edgeWidth, fill, edge] = m.HEAPF64.slice(at, at + PlotPixels.STAMP_NUMBERS);
    const canvas = document.createElement("canvas");
    canvas.width = canvas.height = size;
    const s = canvas.getContext("2d", { willReadFrequently: true });
    s.beginPath();
    s.arc(x, y, radius, 0, 2 * Math.PI);
    s.fillStyle = plotColour(fill);
    s.fill();
    s.strokeStyle = plotColour(edge);
    s.lineWidth = edgeWidth;
    s.stroke();
    const pixels = s.getImageData(0, 0, size, size).data;
    m.HEAPU8.set(pixels, m._varek_plot_stamp_pixels(size));
    m._varek_plot_stamp(slot);
  }

  // The marks placed last laid over the canvas of `g`, in their order:
  // only the rows they reach into are read and written.
  lay(g) {
    const m = this.m;
    const [top, rows] = [m._varek_plot_first_row(), m._varek_plot_rows()];
    if (rows === 0) return;
    const image = g.getImageData(0, top, g.canvas.width, rows);
    const picture = m._varek_plot_picture();
    m.HEAPU8.set(image.data, picture);
    m._varek_plot_lay();
    image.data.set(m.HEAPU8.subarray(picture, picture + image.data.length));
    g.putImageData(image, 0, top);
  }
}
// The marks are laid into the canvas's pixels: kept where the script reads them.
const PLOT_CONTEXT = { willReadFrequently: true };

// Draws the plan (ProtocolModule plotDrawing) with `scale` device pixels a unit.
function drawPlotPlan(g, plan, scale) {
  const lines = plan.pixels.place(plan, scale, g.canvas.width, g.canvas.height);
  g.save();
  g.fillStyle = plan.background;
  g.fillRect(0, 0, plan.width * scale, plan.height * scale);
  g.lineCap = "round";
  let colour = NaN, lineWidth = NaN;
  for (let i = 0; i < lines.length; i += PLOT_LINE_NUMBERS) {
    const width = lines[i + 4], rgb = lines[i + 5];
    // Lines alike in a row up to a device pixel wide (thousands of error
    // bars) are one path, stroked once: the canvas draws each line of such
    // a path on its own, with the pixels it gives the line stroked by
    // itself. Wider lines are stroked one by one: in one path, where two
    // meet, the canvas would cover their union once.
    if (rgb !== colour || width !== lineWidth || width > 1) {
      if (i > 0) g.stroke();
      g.beginPath();
      if (rgb !== colour) g.strokeStyle = plotColour(colour = rgb);
      if (width !== lineWidth) g.lineWidth = lineWidth = width;
    }
    g.moveTo(lines[i], lines[i + 1]);
    g.lineTo(lines[i + 2], lines[i + 3]);
  }
  if (lines.length > 0) g.stroke();
  plan.pixels.lay(g);
  for (const text of plan.texts) {
    const [align, baseline] = PLOT_ANCHORS[text.anchor];
    g.save();
    g.translate(text.x * scale, text.y * scale);
    if (text.vertical) g.rotate(-Math.PI / 2);
    g.font = plotFont(plan, text, scale);
    g.fillStyle = text.colour;
    g.textAlign = align;
    g.textBaseline = baseline;
    g.fillText(text.text, 0, 0);
    g.restore();
  }
  g.restore();
}

// The plan as an SVG document with its title.
function plotPlanSvg(plan, title) {
  const escape = (text) => String(text).replace(/[&<>"]/g, (c) => `&#${c.charCodeAt(0)};`);
  const n = (value) => String(Math.round(value * 1000) / 1000);
  const parts = [
    `<svg xmlns="http://www.w3.org/2000/svg" width="${n(plan.width)}" height="${n(plan.height)}" ` +
        `viewBox="0 0 ${n(plan.width)} ${n(plan.height)}">`,
    `<title>${escape(title)}</title>`,
    `<rect width="${n(plan.width)}" height="${n(plan.height)}" fill="${plan.background}"/>`,
  ];
  for (const l of plan.lines) {
    parts.push(`<line x1="${n(l.x1)}" y1="${n(l.y1)}" x2="${n(l.x2)}" y2="${n(l.y2)}" stroke="${l.colour}" ` +
               `stroke-width="${n(l.width)}" stroke-linecap="round"/>`);
  }
  for (const m of plan.marks) {
    parts.push(`<circle cx="${n(m.x)}" cy="${n(m.y)}" r="${n(m.radius)}" fill="${m.fill}" stroke="${m.edge}" ` +
               `stroke-width="${n(m.edgeWidth)}"/>`);
  }
  for (const t of plan.texts) {
    const [, , anchor, baseline] = PLOT_ANCHORS[t.anchor];
    const turn = t.vertical ? ` transform="rotate(-90 ${n(t.x)} ${n(t.y)})"` : "";
    parts.push(`<text x="${n(t.x)}" y="${n(t.y)}" font-family="${escape(plan.fontFamily)}, sans-serif" ` +
               `font-size="${n(t.size)}" font-weight="${t.bold ? "bold" : "normal"}" fill="${t.colour}" ` +
               `text-anchor="${anchor}" dominant-baseline="${baseline}"${turn}>${escape(t.text)}</text>`);
  }
  parts.push("</svg>\n");
  return parts.join("\n");
}

// The plot in its slot on screen: a canvas of whole device pixels on the
// device pixel grid (as PixelView places the scene), the plan made for the
// slot's size in form pixels, so that it looks as the desktop's at any scale.
class PlotView {
  // slot: the plot's element; plan(width, height): the plan for a frame.
  constructor(slot, plan) {
    this.slot = slot;
    this.plan = plan;
    this.view = document.createElement("canvas");
    this.view.className = "plot-canvas";
    this.view.setAttribute("aria-hidden", "true");
    slot.append(this.view);
    new ResizeObserver(() => this.draw()).observe(slot);
  }

  // Drawn before the next picture, once however many changes come before it:
  // the slot's place is known without laying out the page again.
  drawSoon() {
    if (this.queued) return;
    this.queued = true;
    requestAnimationFrame(() => {
      this.queued = false;
      this.draw();
    });
  }

  // Draws the plan `rehearsal(width, height)` gives, as large as the slot
  // is (or as the panel's plot is, when it is hidden), on a canvas of its
  // own, a few times: the drawing's code is optimised (the engine compiles
  // the core's laying of the marks better only once it has run a while)
  // and the marks' stamps are made before the first plot of many rows.
  rehearse(rehearsal) {
    const box = this.slot.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const scale = PlotView.formScale() * ratio;
    const canvas = document.createElement("canvas");
    canvas.width = Math.max(1, Math.floor((box.width || PlotView.REHEARSAL_SIZE[0]) * ratio));
    canvas.height = Math.max(1, Math.floor((box.height || PlotView.REHEARSAL_SIZE[1]) * ratio));
    const g = canvas.getContext("2d", PLOT_CONTEXT);
    const plan = rehearsal(canvas.width / scale, canvas.height / scale);
    for (let i = 0; i < PlotView.REHEARSALS; ++i) drawPlotPlan(g, plan, scale);
    // The marks and lines placed more often than drawn: the engine compiles
    // the core's placing better only once it has placed some ten thousand
    // marks, and a function that runs when that happens ends as it began;
    // so the first plot of 20,000 rows would place them all with the slower
    // code, while the better code is compiled on the other core.
    for (let i = 0; i < PlotView.PLACINGS; ++i) plan.pixels.place(plan, scale, canvas.width, canvas.height);
    // The canvas for the first picture made ahead (prepare): made already, of about its size.
    this.spare ??= canvas;
  }

  static REHEARSAL_SIZE = [300, 200];
  static REHEARSALS = 6;
  static PLACINGS = 40;

  static formScale() { return Number(getComputedStyle(document.documentElement).getPropertyValue("--s")) || 1; }

  // The picture's size in whole device pixels for the slot as it is, and
  // the device pixels a unit of the plan; none while the slot is hidden.
  frame() {
    const box = this.slot.getBoundingClientRect();
    if (box.width === 0 || box.height === 0) return null;
    const ratio = window.devicePixelRatio || 1;
    return {
      box, ratio, scale: PlotView.formScale() * ratio,
      width: PixelView.exactDevicePixels(Math.max(1, Math.floor(box.width * ratio + 1e-6)), ratio),
      height: PixelView.exactDevicePixels(Math.max(1, Math.floor(box.height * ratio + 1e-6)), ratio),
    };
  }

  // The picture of a table not shown yet, drawn from the plan
  // `plan(width, height)` on a canvas aside: the next draw() shows it
  // instead of drawing, once adopt(true) said that the table is shown.
  prepare(plan) {
    this.prepared = null;
    const frame = this.frame();
    if (!frame) return;
    const canvas = this.spare ?? document.createElement("canvas");
    this.spare = null;
    // Given its size only when it differs (made anew then): the plan covers it whole.
    if (canvas.width !== frame.width) canvas.width = frame.width;
    if (canvas.height !== frame.height) canvas.height = frame.height;
    drawPlotPlan(canvas.getContext("2d", PLOT_CONTEXT), plan(frame.width / frame.scale, frame.height / frame.scale),
                 frame.scale);
    this.prepared = { canvas, width: frame.width, height: frame.height, scale: frame.scale, adopted: false };
  }

  // Whether the table of the picture prepared last is the one shown now.
  adopt(shown) {
    if (shown && this.prepared) this.prepared.adopted = true;
    else this.prepared = null;
  }

  draw() {
    const frame = this.frame();
    const ready = this.prepared;
    this.prepared = null;
    if (!frame) return;
    const { box, ratio, width, height, scale } = frame;
    const v = this.view;
    // A canvas given its size anew is cleared and made anew; the plan covers it whole.
    if (v.width !== width) v.width = width;
    if (v.height !== height) v.height = height;
    v.style.width = `${v.width / ratio}px`;
    v.style.height = `${v.height / ratio}px`;
    const grid = PixelView.grid(ratio);
    const left = box.left + window.scrollX, top = box.top + window.scrollY;
    v.style.left = `${Math.round(left / grid) * grid - left}px`;
    v.style.top = `${Math.round(top / grid) * grid - top}px`;
    const g = v.getContext("2d", PLOT_CONTEXT);
    if (ready?.adopted && ready.width === width && ready.height === height && ready.scale === scale) {
      g.drawImage(ready.canvas, 0, 0);
      this.spare = ready.canvas;
    } else {
      drawPlotPlan(g, this.plan(v.width / scale, v.height / scale), scale);
    }
  }
}
