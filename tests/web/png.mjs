// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reads an 8-bit RGB or RGBA PNG (what varek-render writes) into RGBA bytes.
import { readFileSync } from "node:fs";
import { inflateSync } from "node:zlib";

export function readPng(file) {
  const data = readFileSync(file);
  let width = 0, height = 0, channels = 0;
  const compressed = [];
  for (let at = 8; at < data.length;) {
    const length = data.readUInt32BE(at);
    const type = data.toString("latin1", at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colour, , , interlace] = body.subarray(8, 13);
      channels = { 2: 3, 6: 4 }[colour];
      if (depth !== 8 || !channels || interlace !== 0) {
        throw new Error(`${file}: unsupported PNG (depth ${depth}, colour type ${colour}, interlace ${interlace})`);
      }
    } else if (type === "IDAT") {
      compressed.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(compressed));
  const stride = width * channels;
  const rows = new Uint8Array(height * stride);
  // Undo the per-row filters: None, Sub, Up, Average, Paeth.
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const source = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const row = rows.subarray(y * stride, (y + 1) * stride);
    const above = y > 0 ? rows.subarray((y - 1) * stride, y * stride) : new Uint8Array(stride);
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? row[i - channels] : 0;
      const b = above[i];
      const c = i >= channels ? above[i - channels] : 0;
      let predictor = 0;
      if (filter === 1) predictor = a;
      else if (filter === 2) predictor = b;
      else if (filter === 3) predictor = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      row[i] = (source[i] + predictor) & 0xff;
    }
  }
  const rgba = new Uint8Array(width * height * 4);
  for (let p = 0; p < width * height; ++p) {
    rgba.set(rows.subarray(p * channels, p * channels + 3), p * 4);
    rgba[p * 4 + 3] = channels === 4 ? rows[p * channels + 3] : 255;
  }
  return { width, height, rgba };
}
