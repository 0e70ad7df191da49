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

// Draws the plan with `scale` device pixels a unit. Lines along the axes
// keep whole device pixels: their width is rounded, and they lie on pixel
// centres (odd widths) or pixel edges (even ones).
function drawPlotPlan(g, plan, scale) {
  g.save();
  g.fillStyle = plan.background;
  g.fillRect(0, 0, plan.width * scale, plan.height * scale);
  g.lineCap = "round";
  for (const line of plan.lines) {
    const along = line.x1 === line.x2 || line.y1 === line.y2;
    const width = along ? Math.max(1, Math.round(line.width * scale)) : line.width * scale;
    const snap = (v) => (width % 2 === 1 ? Math.floor(v * scale) + 0.5 : Math.round(v * scale));
    const x1 = line.x1 === line.x2 ? snap(line.x1) : line.x1 * scale;
    const x2 = line.x1 === line.x2 ? x1 : line.x2 * scale;
    const y1 = line.y1 === line.y2 ? snap(line.y1) : line.y1 * scale;
    const y2 = line.y1 === line.y2 ? y1 : line.y2 * scale;
    g.strokeStyle = line.colour;
    g.lineWidth = width;
    g.beginPath();
    g.moveTo(x1, y1);
    g.lineTo(x2, y2);
    g.stroke();
  }
  for (const mark of plan.marks) {
    g.beginPath();
    g.arc(mark.x * scale, mark.y * scale, mark.radius * scale, 0, 2 * Math.PI);
    g.fillStyle = mark.fill;
    g.fill();
    g.strokeStyle = mark.edge;
    g.lineWidth = mark.edgeWidth * scale;
    g.stroke();
  }
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

  draw() {
    const box = this.slot.getBoundingClientRect();
    if (box.width === 0 || box.height === 0) return;
    const ratio = window.devicePixelRatio || 1;
    const formScale = Number(getComputedStyle(document.documentElement).getPropertyValue("--s")) || 1;
    const v = this.view;
    v.width = PixelView.exactDevicePixels(Math.max(1, Math.floor(box.width * ratio + 1e-6)), ratio);
    v.height = PixelView.exactDevicePixels(Math.max(1, Math.floor(box.height * ratio + 1e-6)), ratio);
    v.style.width = `${v.width / ratio}px`;
    v.style.height = `${v.height / ratio}px`;
    const grid = PixelView.grid(ratio);
    const left = box.left + window.scrollX, top = box.top + window.scrollY;
    v.style.left = `${Math.round(left / grid) * grid - left}px`;
    v.style.top = `${Math.round(top / grid) * grid - top}px`;
    const scale = formScale * ratio;
    drawPlotPlan(v.getContext("2d"), this.plan(v.width / scale, v.height / scale), scale);
  }
}
