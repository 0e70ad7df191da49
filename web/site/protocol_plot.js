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

// The marks are stamped, in the plan's order, into the picture's pixels
// from small pictures of one mark (a disc, outlined; made by the canvas),
// one for each look and each quarter of a device pixel that a mark lies off
// the pixel grid: thousands of marks are laid over the picture many times
// faster than the canvas fills and outlines as many circles. The picture
// below is opaque (the frame is filled first).
class PlotStamps {
  static STEPS = 4;  // a stamp for every quarter of a pixel
  static MOST = 80;  // looks kept (each with up to (STEPS + 1)² stamps)

  constructor() { this.looks = new Map(); }

  // The marks (PLOT_MARK_NUMBERS numbers each) on a picture width × height
  // pixels, `scale` device pixels a unit, in the plan's order: each mark's
  // stamp and the place of the stamp's top left pixel.
  place(scale, marks, width, height) {
    const count = marks.length / PLOT_MARK_NUMBERS;
    const placed = { width, height, stamps: new Array(count), left: new Int32Array(count), top: new Int32Array(count) };
    const steps = PlotStamps.STEPS;
    // The stamps of the last mark's look: most marks look alike.
    let look = null, radius = NaN, edgeWidth = NaN, fill = NaN, edge = NaN;
    for (let n = 0, i = 0; n < count; ++n, i += PLOT_MARK_NUMBERS) {
      if (marks[i + 2] !== radius || marks[i + 3] !== edgeWidth || marks[i + 4] !== fill || marks[i + 5] !== edge) {
        [radius, edgeWidth, fill, edge] = [marks[i + 2], marks[i + 3], marks[i + 4], marks[i + 5]];
        look = this.look(scale, radius, edgeWidth, fill, edge);
      }
      const px = marks[i] * scale, py = marks[i + 1] * scale;
      const left = Math.floor(px), top = Math.floor(py);
      const dx = Math.round((px - left) * steps), dy = Math.round((py - top) * steps);
      const stamp = look.stamps[dx * (steps + 1) + dy] ??= this.stamp(look, dx, dy);
      placed.stamps[n] = stamp;
      placed.left[n] = left - stamp.reach;
      placed.top[n] = top - stamp.reach;
    }
    return placed;
  }

  // The pixels that the placed marks cover whole: what is drawn there
  // before the marks is not seen, whatever it is, as a mark lays its colour
  // over it without blending. As the number of such pixels above and left
  // of each place (a row and a column more than the picture), so that
  // whether a rectangle is hidden whole is known from four numbers.
  static hiding({ width, height, stamps, left, top }) {
    const hidden = new Uint8Array(width * height);
    for (let n = 0; n < stamps.length; ++n) {
      const stamp = stamps[n], x0 = left[n], y0 = top[n];
      if (x0 >= 0 && y0 >= 0 && x0 + stamp.size <= width && y0 + stamp.size <= height) {
        const offsets = PlotStamps.offsets(stamp, width), base = y0 * width + x0;
        for (let k = 0; k < stamp.whole; ++k) hidden[base + offsets[k]] = 1;
        continue;
      }
      for (let k = 0; k < stamp.whole; ++k) {
        const x = x0 + stamp.across[k], y = y0 + stamp.down[k];
        if (x >= 0 && y >= 0 && x < width && y < height) hidden[y * width + x] = 1;
      }
    }
    const span = width + 1, sums = new Int32Array(span * (height + 1));
    for (let y = 0, o = 0; y < height; ++y) {
      let row = 0;
      for (let x = 0; x < width; ++x, ++o) {
        row += hidden[o];
        sums[(y + 1) * span + x + 1] = sums[y * span + x + 1] + row;
      }
    }
    return sums;
  }

  // Whether every pixel that a line from (x1, y1) to (x2, y2) (device
  // pixels) `lineWidth` wide with round caps can touch is hidden (`sums`
  // from hiding): the pixels its shape reaches into, and one more all round
  // for the canvas's smoothing of its edges.
  static hides(sums, width, height, x1, y1, x2, y2, lineWidth) {
    const reach = lineWidth / 2 + 1;
    const left = Math.max(0, Math.floor(Math.min(x1, x2) - reach));
    const right = Math.min(width, Math.ceil(Math.max(x1, x2) + reach));
    const top = Math.max(0, Math.floor(Math.min(y1, y2) - reach));
    const bottom = Math.min(height, Math.ceil(Math.max(y1, y2) + reach));
    if (right <= left || bottom <= top) return true;
    const span = width + 1;
    return sums[bottom * span + right] - sums[top * span + right] - sums[bottom * span + left] +
           sums[top * span + left] === (right - left) * (bottom - top);
  }

  // The placed marks laid over the canvas of `g`, in their order.
  static draw(g, { width, height, stamps, left, top }) {
    if (stamps.length === 0) return;
    const image = g.getImageData(0, 0, width, height);
    const out = new Uint32Array(image.data.buffer);  // a pixel a word: A B G R from the high byte
    for (let n = 0; n < stamps.length; ++n) {
      const stamp = stamps[n], x0 = left[n], y0 = top[n];
      if (x0 >= 0 && y0 >= 0 && x0 + stamp.size <= width && y0 + stamp.size <= height) {
        PlotStamps.lay(out, y0 * width + x0, PlotStamps.offsets(stamp, width), stamp);
        continue;
      }
      for (let k = 0; k < stamp.alpha.length; ++k) {
        const x = x0 + stamp.across[k], y = y0 + stamp.down[k];
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        PlotStamps.cover(out, y * width + x, stamp, k);
      }
    }
    g.putImageData(image, 0, 0);
  }

  // A stamp's pixels laid at `base` (its top left) of a picture of width `width`.
  static lay(out, base, offsets, stamp) {
    for (let k = 0; k < stamp.whole; ++k) out[base + offsets[k]] = stamp.colour[k];
    for (let k = stamp.whole; k < offsets.length; ++k) PlotStamps.cover(out, base + offsets[k], stamp, k);
  }

  // The pixel `o` covered by the stamp's pixel `k` (its colour with its
  // coverage of 255; red, green and blue already times the coverage), over an
  // opaque picture.
  static cover(out, o, { colour, alpha, whole, red, green, blue }, k) {
    if (k < whole) {
      out[o] = colour[k];
      return;
    }
    const d = out[o], b = 255 - alpha[k];
    const r = (red[k] + (d & 255) * b + 127) / 255 | 0;
    const g = (green[k] + ((d >>> 8) & 255) * b + 127) / 255 | 0;
    const bl = (blue[k] + ((d >>> 16) & 255) * b + 127) / 255 | 0;
    out[o] = 0xff000000 | (bl << 16) | (g << 8) | r;
  }

  // The places of a stamp's pixels in a picture `width` pixels wide, from its top left.
  static offsets(stamp, width) {
    if (stamp.width !== width) {
      stamp.width = width;
      stamp.offsets = Int32Array.from(stamp.down, (y, k) => y * width + stamp.across[k]);
    }
    return stamp.offsets;
  }

  // The stamps of a look, made as marks need them.
  look(scale, radius, edgeWidth, fill, edge) {
    const key = `${scale} ${radius} ${edgeWidth} ${fill} ${edge}`;
    let look = this.looks.get(key);
    if (look) return look;
    if (this.looks.size >= PlotStamps.MOST) this.looks.clear();
    look = { scale, radius, edgeWidth, fill, edge, stamps: [] };
    this.looks.set(key, look);
    return look;
  }

  // The stamp of a mark `dx`, `dy` quarters of a pixel right of and below a pixel's corner.
  stamp({ scale, radius, edgeWidth, fill, edge }, dx, dy) {
    // What the mark covers around its centre, whole pixels.
    const reach = Math.ceil((radius + edgeWidth / 2) * scale) + 1, size = 2 * reach + 2;
    const canvas = document.createElement("canvas");
    canvas.width = canvas.height = size;
    const s = canvas.getContext("2d", { willReadFrequently: true });
    s.beginPath();
    s.arc(reach + dx / PlotStamps.STEPS, reach + dy / PlotStamps.STEPS, radius * scale, 0, 2 * Math.PI);
    s.fillStyle = plotColour(fill);
    s.fill();
    s.strokeStyle = plotColour(edge);
    s.lineWidth = edgeWidth * scale;
    s.stroke();
    // The pixels it covers: their places, colours (opaque) and coverage,
    // those it covers whole first; of the others each colour times the coverage.
    const pixels = new Uint32Array(s.getImageData(0, 0, size, size).data.buffer);
    const covered = pixels.reduce((n, p) => n + (p >>> 24 !== 0 ? 1 : 0), 0);
    const whole = pixels.reduce((n, p) => n + (p >>> 24 === 255 ? 1 : 0), 0);
    const stamp = { reach, size, whole, across: new Int16Array(covered), down: new Int16Array(covered),
                    colour: new Uint32Array(covered), alpha: new Uint8Array(covered),
                    red: new Uint16Array(covered), green: new Uint16Array(covered), blue: new Uint16Array(covered) };
    let k = 0;
    const take = (p) => {
      const c = pixels[p] | 0xff000000, a = pixels[p] >>> 24;
      stamp.across[k] = p % size;
      stamp.down[k] = Math.floor(p / size);
      stamp.colour[k] = c;
      stamp.alpha[k] = a;
      stamp.red[k] = (c & 255) * a;
      stamp.green[k] = ((c >>> 8) & 255) * a;
      stamp.blue[k++] = ((c >>> 16) & 255) * a;
    };
    for (let p = 0; p < pixels.length; ++p) if (pixels[p] >>> 24 === 255) take(p);
    for (let p = 0; p < pixels.length; ++p) if (pixels[p] >>> 24 !== 0 && pixels[p] >>> 24 !== 255) take(p);
    return stamp;
  }
}
const PLOT_STAMPS = new PlotStamps();
// The marks are laid into the canvas's pixels: kept where the script reads them.
const PLOT_CONTEXT = { willReadFrequently: true };

// Draws the plan with `scale` device pixels a unit. Lines along the axes
// keep whole device pixels: their width is rounded, and they lie on pixel
// centres (odd widths) or pixel edges (even ones).
function drawPlotPlan(g, plan, scale) {
  const { width: pictureWidth, height: pictureHeight } = g.canvas;
  const marks = PLOT_STAMPS.place(scale, plan.markNumbers, pictureWidth, pictureHeight);
  // Error bars shorter than their mark lie under it, three lines a mark:
  // looked for where there are more lines than marks.
  const lineCount = plan.lineNumbers.length / PLOT_LINE_NUMBERS;
  const hiding = lineCount > marks.stamps.length ? PlotStamps.hiding(marks) : null;
  g.save();
  g.fillStyle = plan.background;
  g.fillRect(0, 0, plan.width * scale, plan.height * scale);
  g.lineCap = "round";
  g.beginPath();  // not the canvas's last path, should the first lines be hidden
  const lines = plan.lineNumbers;
  let colour = NaN, lineWidth = NaN;
  for (let i = 0; i < lines.length; i += PLOT_LINE_NUMBERS) {
    const lx1 = lines[i], ly1 = lines[i + 1], lx2 = lines[i + 2], ly2 = lines[i + 3];
    const planned = lines[i + 4], rgb = lines[i + 5];
    const along = lx1 === lx2 || ly1 === ly2;
    const width = along ? Math.max(1, Math.round(planned * scale)) : planned * scale;
    const snap = (v) => (width % 2 === 1 ? Math.floor(v * scale) + 0.5 : Math.round(v * scale));
    const x1 = lx1 === lx2 ? snap(lx1) : lx1 * scale;
    const x2 = lx1 === lx2 ? x1 : lx2 * scale;
    const y1 = ly1 === ly2 ? snap(ly1) : ly1 * scale;
    const y2 = ly1 === ly2 ? y1 : ly2 * scale;
    if (hiding && PlotStamps.hides(hiding, pictureWidth, pictureHeight, x1, y1, x2, y2, width)) continue;
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
    g.moveTo(x1, y1);
    g.lineTo(x2, y2);
  }
  if (lines.length > 0) g.stroke();
  PlotStamps.draw(g, marks);
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
  // own: the drawing's code is optimised and the marks' stamps are made
  // before the first plot of many rows.
  rehearse(rehearsal) {
    const box = this.slot.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const scale = PlotView.formScale() * ratio;
    const canvas = document.createElement("canvas");
    canvas.width = Math.max(1, Math.floor((box.width || PlotView.REHEARSAL_SIZE[0]) * ratio));
    canvas.height = Math.max(1, Math.floor((box.height || PlotView.REHEARSAL_SIZE[1]) * ratio));
    drawPlotPlan(canvas.getContext("2d", PLOT_CONTEXT), rehearsal(canvas.width / scale, canvas.height / scale), scale);
  }

  static REHEARSAL_SIZE = [300, 200];

  static formScale() { return Number(getComputedStyle(document.documentElement).getPropertyValue("--s")) || 1; }

  draw() {
    const box = this.slot.getBoundingClientRect();
    if (box.width === 0 || box.height === 0) return;
    const ratio = window.devicePixelRatio || 1;
    const formScale = PlotView.formScale();
    const v = this.view;
    const width = PixelView.exactDevicePixels(Math.max(1, Math.floor(box.width * ratio + 1e-6)), ratio);
    const height = PixelView.exactDevicePixels(Math.max(1, Math.floor(box.height * ratio + 1e-6)), ratio);
    // A canvas given its size anew is cleared and made anew; the plan covers it whole.
    if (v.width !== width) v.width = width;
    if (v.height !== height) v.height = height;
    v.style.width = `${v.width / ratio}px`;
    v.style.height = `${v.height / ratio}px`;
    const grid = PixelView.grid(ratio);
    const left = box.left + window.scrollX, top = box.top + window.scrollY;
    v.style.left = `${Math.round(left / grid) * grid - left}px`;
    v.style.top = `${Math.round(top / grid) * grid - top}px`;
    const scale = formScale * ratio;
    drawPlotPlan(v.getContext("2d", PLOT_CONTEXT), this.plan(v.width / scale, v.height / scale), scale);
  }
}
