// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page tests share: the page's pictures against varek-render's.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, readdirSync } from "node:fs";
import { join } from "node:path";

import { readPng } from "./png.mjs";

// varek-render: VAREK_RENDER, or the first build/*/tools/render/varek-render under root.
export function findRenderer(root) {
  return process.env.VAREK_RENDER ??
      readdirSync(join(root, "build")).map((d) => join(root, "build", d, "tools/render/varek-render"))
          .find(existsSync);
}

// The picture of the page's canvas `id` as RGBA bytes (from its top-left
// corner: a canvas shown as it is may be up to a CSS pixel larger).
export async function canvasPixels(page, id) {
  const base64 = await page.$eval(`#${id}`, (canvas) => {
    const { width, height } = window.Form1.viewOf[canvas.id].pictureSize();
    const bytes = canvas.getContext("2d").getImageData(0, 0, width, height).data;
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  });
  return new Uint8Array(Buffer.from(base64, "base64"));
}

function differingPixels(a, b) {
  assert.equal(a.length, b.length, "picture sizes differ");
  let count = 0;
  for (let i = 0; i < a.length; i += 4) {
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) ++count;
  }
  return count;
}

// The picture scale of the pictures on the page (device pixels per picture pixel).
export const pictureScale = (page) => page.evaluate(() => window.Form1.pictures.shown.scale);

// Returns check(page, flags, { signal }): the scene (and the plot, with
// signal) on the page equal varek-render's for these flags at the page's
// picture scale; its PNGs go to work.
export function pictureCheck(renderer, work) {
  let renders = 0;
  return async (page, flags, { signal = false } = {}) => {
    const scene = join(work, `scene${++renders}.png`);
    const plot = join(work, `signal${renders}.png`);
    const args = [...Object.entries(flags).flatMap(([k, v]) => [`--${k}`, String(v)]),
                  "--scale", String(await pictureScale(page)), "--out", scene];
    execFileSync(renderer, signal ? [...args, "--signal-out", plot] : args);
    assert.equal(differingPixels(await canvasPixels(page, "PaintBox1"), readPng(scene).rgba), 0,
                 `scene differs from varek-render ${args.join(" ")}`);
    if (signal) {
      assert.equal(differingPixels(await canvasPixels(page, "PaintBox2"), readPng(plot).rgba), 0,
                   `plot differs from varek-render ${args.join(" ")}`);
    }
  };
}
