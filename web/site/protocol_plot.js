// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The protocol's plot: the points I² over k²·U and the fitted line through
// the origin, on a white ground with a grid and German axis titles. Drawn at
// the screen's pixel density, so it stays crisp when zoomed.

const PLOT_MARGIN = { left: 62, right: 14, top: 12, bottom: 44 };
const PLOT_TICKS = 5;

// A round step (1, 2 or 5 times a power of ten) that divides 0..highest into about PLOT_TICKS parts.
function plotTickStep(highest) {
  const raw = highest / PLOT_TICKS;
  const power = 10 ** Math.floor(Math.log10(raw));
  for (const factor of [1, 2, 5]) if (factor * power >= raw) return factor * power;
  return 10 * power;
}

function plotTickText(value, step) {
  const decimals = Math.max(0, -Math.floor(Math.log10(step)));
  return value.toFixed(decimals).replace(".", ",");
}

// points: [[k²U, I²], …]; slope: m of I² = m·k²U, or null.
function drawProtocolPlot(canvas, points, slope) {
  const width = canvas.clientWidth, height = canvas.clientHeight;
  const scale = window.devicePixelRatio || 1;
  canvas.width = Math.round(width * scale);
  canvas.height = Math.round(height * scale);
  const g = canvas.getContext("2d");
  g.setTransform(scale, 0, 0, scale, 0, 0);
  g.fillStyle = "white";
  g.fillRect(0, 0, width, height);

  // Empty axes before the first row: the ranges of the controls.
  const highestX = Math.max(0, ...points.map(([x]) => x)) || 2000;
  const highestY = Math.max(0, ...points.map(([, y]) => y)) || 3;
  const stepX = plotTickStep(highestX * 1.05), stepY = plotTickStep(highestY * 1.05);
  const endX = Math.ceil(highestX * 1.05 / stepX) * stepX;
  const endY = Math.ceil(highestY * 1.05 / stepY) * stepY;
  const left = PLOT_MARGIN.left, top = PLOT_MARGIN.top;
  const right = width - PLOT_MARGIN.right, bottom = height - PLOT_MARGIN.bottom;
  const at = (x, y) => [left + x / endX * (right - left), bottom - y / endY * (bottom - top)];

  g.font = "12px 'Liberation Sans', Arial, sans-serif";
  g.lineWidth = 1;
  g.fillStyle = "black";
  g.textAlign = "center";
  g.textBaseline = "top";
  for (let x = 0; x <= endX + stepX / 2; x += stepX) {
    const [px] = at(x, 0);
    g.strokeStyle = "rgb(220, 220, 220)";
    g.beginPath(); g.moveTo(px, top); g.lineTo(px, bottom); g.stroke();
    g.fillText(plotTickText(x, stepX), px, bottom + 4);
  }
  g.textAlign = "right";
  g.textBaseline = "middle";
  for (let y = 0; y <= endY + stepY / 2; y += stepY) {
    const [, py] = at(0, y);
    g.strokeStyle = "rgb(220, 220, 220)";
    g.beginPath(); g.moveTo(left, py); g.lineTo(right, py); g.stroke();
    g.fillText(plotTickText(y, stepY), left - 5, py);
  }
  g.strokeStyle = "black";
  g.lineWidth = 1.5;
  g.beginPath(); g.moveTo(left, top); g.lineTo(left, bottom); g.lineTo(right, bottom); g.stroke();

  g.font = "bold 12px 'Liberation Sans', Arial, sans-serif";
  g.textAlign = "center";
  g.textBaseline = "bottom";
  g.fillText("k² · U in V", (left + right) / 2, height - 4);
  g.save();
  g.translate(14, (top + bottom) / 2);
  g.rotate(-Math.PI / 2);
  g.textBaseline = "middle";
  g.fillText("I² in A²", 0, 0);
  g.restore();

  g.save();
  g.beginPath();
  g.rect(left - 5, top - 5, right - left + 10, bottom - top + 10);
  g.clip();
  if (slope !== null) {
    const xEnd = Math.min(endX, endY / slope);
    g.strokeStyle = "rgb(200, 30, 30)";
    g.lineWidth = 2;
    g.beginPath(); g.moveTo(...at(0, 0)); g.lineTo(...at(xEnd, slope * xEnd)); g.stroke();
  }
  g.strokeStyle = "rgb(0, 60, 160)";
  g.fillStyle = "rgb(70, 130, 220)";
  g.lineWidth = 1.5;
  for (const [x, y] of points) {
    g.beginPath();
    g.arc(...at(x, y), 4.5, 0, 2 * Math.PI);
    g.fill();
    g.stroke();
  }
  g.restore();
}
