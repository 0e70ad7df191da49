// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Shows a picture (a canvas or a decoded image; of an image, the part of the
// control's size from its top-left corner) crisply inside a slot of any
// size: at a whole number of device pixels per picture pixel, nearest
// neighbour, centred, the rest of the slot in the fill colour. A picture
// that misses the next whole factor by at most 1 % is shown at it, reaching
// that little past the slot. Where the device has fewer pixels than the
// picture, it is reduced smoothly to fit.
//
// The shown canvas is sized in device pixels and placed on the device pixel
// grid itself: the browser then copies it 1:1, whatever the slot's place,
// the page's scale or the device pixel ratio, so that the steps of a scaled
// picture are all equal.
class PixelView {
  static SLACK = 0.01;

  constructor(slot, source, { width, height, fill }) {
    this.slot = slot;
    this.source = source;
    this.width = width;
    this.height = height;
    this.fill = fill;
    this.factor = 0;
    this.view = document.createElement("canvas");
    this.view.className = "pixel-view";
    this.view.setAttribute("aria-hidden", "true");
    slot.append(this.view);
    new ResizeObserver(() => this.layOut()).observe(slot);
    if (source instanceof HTMLImageElement) source.addEventListener("load", () => this.draw());
  }

  // A CSS length that is a whole number of device pixels and a whole number
  // of the layout's 1/64 px: boxes at multiples of it land on device pixels.
  static grid(ratio) {
    for (let k = 1; k <= 64 * 16; ++k) {
      const g = k / 64;
      if (Math.abs(g * ratio - Math.round(g * ratio)) < 1e-6) return g;
    }
    return 1 / 64;
  }

  // The least whole number of device pixels, from `pixels` on, whose CSS
  // length the layout holds exactly.
  static exactDevicePixels(pixels, ratio) {
    for (let p = pixels; p < pixels + 64 * 16; ++p) {
      const css = p / ratio * 64;
      if (Math.abs(css - Math.round(css)) < 1e-6) return p;
    }
    return pixels;
  }

  layOut() {
    const box = this.slot.getBoundingClientRect();
    if (box.width === 0 || box.height === 0) return;
    const ratio = window.devicePixelRatio || 1;
    // Device pixels per picture pixel: a whole number where it fits.
    const fits = Math.min(box.width * ratio / this.width, box.height * ratio / this.height);
    const whole = Math.floor(fits * (1 + PixelView.SLACK));
    this.factor = whole >= 1 ? whole : fits;
    const shownWidth = Math.max(1, Math.floor(this.width * this.factor + 1e-6));
    const shownHeight = Math.max(1, Math.floor(this.height * this.factor + 1e-6));
    const v = this.view;
    v.width = PixelView.exactDevicePixels(shownWidth, ratio);
    v.height = PixelView.exactDevicePixels(shownHeight, ratio);
    v.style.width = `${v.width / ratio}px`;
    v.style.height = `${v.height / ratio}px`;
    // Centred in the slot, then moved onto the device pixel grid of the page.
    const grid = PixelView.grid(ratio);
    const left = box.left + window.scrollX, top = box.top + window.scrollY;
    const snap = (at) => Math.round(at / grid) * grid;
    v.style.left = `${snap(left + (box.width - shownWidth / ratio) / 2) - left}px`;
    v.style.top = `${snap(top + (box.height - shownHeight / ratio) / 2) - top}px`;
    this.shown = { width: shownWidth, height: shownHeight };
    this.draw();
  }

  draw() {
    if (!this.shown) return;
    const g = this.view.getContext("2d");
    g.fillStyle = this.fill;
    g.fillRect(0, 0, this.view.width, this.view.height);
    g.imageSmoothingEnabled = this.factor < 1;
    g.imageSmoothingQuality = "high";
    if (this.source instanceof HTMLImageElement && !this.source.complete) return;
    g.drawImage(this.source, 0, 0, this.width, this.height, 0, 0, this.shown.width, this.shown.height);
  }
}
