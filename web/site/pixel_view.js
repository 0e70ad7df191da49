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
// A picture the program draws at any scale (the scene) is asked for at the
// slot's: `scale` is the device pixels per pixel of the control's size that
// the slot holds, in thousandths as the desktop's window takes it, at least
// 1; `onScale` hears of a new one. A canvas holding the picture drawn at
// that scale is then copied 1:1.
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
    this.scale = 1;
    this.onScale = null;
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

  // The least whole number of device pixels, from `pixels` on, that is a
  // whole number of CSS pixels: a canvas of a fraction of a CSS pixel more
  // is stretched by a pixel where the browser composites it on its own (a
  // sticky scene).
  static exactDevicePixels(pixels, ratio) {
    for (let p = pixels; p < pixels + 64 * 16; ++p) {
      const css = p / ratio;
      if (Math.abs(css - Math.round(css)) < 1e-6) return p;
    }
    return pixels;
  }

  // The picture's size as its source holds it now.
  pictureSize() {
    const s = this.source;
    return s instanceof HTMLCanvasElement ? { width: s.width, height: s.height }
                                          : { width: this.width, height: this.height };
  }

  layOut() {
    const box = this.slot.getBoundingClientRect();
    if (box.width === 0 || box.height === 0) return;
    const ratio = window.devicePixelRatio || 1;
    this.box = { left: box.left + window.scrollX, top: box.top + window.scrollY, width: box.width,
                 height: box.height, ratio };
    this.scaleFor(box.width, box.height, ratio);
    this.place();
  }

  // The scale of a slot shown at `formScale` CSS pixels per pixel of the
  // control's size, known before the browser lays the page out: the browser
  // keeps a box's size in 1/64 px, cut off below.
  expect(formScale) {
    const laidOut = (length) => Math.floor(length * formScale * 64 + 1e-6) / 64;
    this.scaleFor(laidOut(this.width), laidOut(this.height), window.devicePixelRatio || 1);
  }

  scaleFor(width, height, ratio) {
    const fits = Math.min(width * ratio / this.width, height * ratio / this.height);
    const scale = Math.max(1, Math.floor(fits * 1000 + 1e-6) / 1000);
    if (scale !== this.scale) {
      this.scale = scale;
      this.onScale?.(scale);
    }
  }

  // The size of the picture to show: one drawn at the scale asked for (as
  // large as the program draws it, so that the view keeps its place while
  // that picture is on its way), or the source's.
  target() {
    if (!this.onScale) return this.pictureSize();
    const scaled = (length) => Math.max(length, Math.round(length * this.scale));
    return { width: scaled(this.width), height: scaled(this.height) };
  }

  // The view over the slot for the picture to show.
  place() {
    const { left, top, width, height, ratio } = this.box;
    const picture = this.target();
    this.placed = picture;
    // Device pixels per picture pixel: a whole number where it fits.
    const fits = Math.min(width * ratio / picture.width, height * ratio / picture.height);
    const whole = Math.floor(fits * (1 + PixelView.SLACK));
    this.factor = whole >= 1 ? whole : fits;
    const shownWidth = Math.max(1, Math.floor(picture.width * this.factor + 1e-6));
    const shownHeight = Math.max(1, Math.floor(picture.height * this.factor + 1e-6));
    const v = this.view;
    v.width = PixelView.exactDevicePixels(shownWidth, ratio);
    v.height = PixelView.exactDevicePixels(shownHeight, ratio);
    v.style.width = `${v.width / ratio}px`;
    v.style.height = `${v.height / ratio}px`;
    // Centred in the slot (a picture drawn at the slot's scale, less than a
    // pixel smaller, from its corner), then moved onto the device pixel grid
    // of the page.
    const grid = PixelView.grid(ratio);
    const snap = (at) => Math.round(at / grid) * grid;
    const spare = this.onScale ? 0 : 0.5;
    v.style.left = `${snap(left + (width - shownWidth / ratio) * spare) - left}px`;
    v.style.top = `${snap(top + (height - shownHeight / ratio) * spare) - top}px`;
    this.shown = { width: shownWidth, height: shownHeight };
    this.paint();
  }

  draw() {
    if (!this.shown) return;
    const picture = this.target();
    if (picture.width !== this.placed.width || picture.height !== this.placed.height) this.place();
    else this.paint();
  }

  // The source's picture over the view; one of another size than the view
  // was placed for (a scene of the last scale) is stretched to it.
  paint() {
    const g = this.view.getContext("2d");
    g.fillStyle = this.fill;
    g.fillRect(0, 0, this.view.width, this.view.height);
    g.imageSmoothingEnabled = this.factor < 1;
    g.imageSmoothingQuality = "high";
    if (this.source instanceof HTMLImageElement && !this.source.complete) return;
    const { width, height } = this.pictureSize();
    g.drawImage(this.source, 0, 0, width, height, 0, 0, this.shown.width, this.shown.height);
  }
}
