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
// 1; `onScale` hears of a new one. A picture drawn at that scale is shown
// 1:1.
//
// The shown canvas is sized in device pixels and placed on the device pixel
// grid itself: the browser then copies it 1:1, whatever the slot's place,
// the page's scale or the device pixel ratio, so that the steps of a scaled
// picture are all equal.
//
// A canvas source whose picture is shown 1:1 is itself the shown canvas
// (one canvas, no copy per picture); the view canvas then holds nothing. It
// takes the picture again where the picture is scaled, reduced, or of
// another size than the one the slot is placed for (a scene of the last
// scale, stretched while the next one is on its way).
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
    source.setAttribute("aria-hidden", "true");
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

  // Whether a and b (pictures, canvases: anything with a width and a
  // height) have the same size.
  static sameSize(a, b) {
    return a.width === b.width && a.height === b.height;
  }

  // `canvas` at the size of `size` (a new size clears it).
  static resize(canvas, size) {
    if (!PixelView.sameSize(canvas, size)) Object.assign(canvas, { width: size.width, height: size.height });
  }

  // The rectangle in the fill colour, also where that is transparent.
  fillArea(g, x, y, width, height) {
    g.clearRect(x, y, width, height);
    g.fillStyle = this.fill;
    g.fillRect(x, y, width, height);
  }

  // The picture's size as its source holds it now.
  pictureSize() {
    return this.picture ?? { width: this.width, height: this.height };
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

  // The place measured anew and the picture shown there.
  place() {
    this.measure();
    this.paint();
  }

  // The place over the slot for the picture to show.
  measure() {
    const { left, top, width, height, ratio } = this.box;
    const picture = this.target();
    this.placed = picture;
    // Device pixels per picture pixel: a whole number where it fits.
    const fits = Math.min(width * ratio / picture.width, height * ratio / picture.height);
    const whole = Math.floor(fits * (1 + PixelView.SLACK));
    this.factor = whole >= 1 ? whole : fits;
    const shownWidth = Math.max(1, Math.floor(picture.width * this.factor + 1e-6));
    const shownHeight = Math.max(1, Math.floor(picture.height * this.factor + 1e-6));
    // Centred in the slot (a picture drawn at the slot's scale, less than a
    // pixel smaller, from its corner), then moved onto the device pixel grid
    // of the page.
    const grid = PixelView.grid(ratio);
    const snap = (at) => Math.round(at / grid) * grid;
    const spare = this.onScale ? 0 : 0.5;
    this.shown = { width: shownWidth, height: shownHeight };
    this.at = { width: PixelView.exactDevicePixels(shownWidth, ratio), height: PixelView.exactDevicePixels(shownHeight, ratio),
                left: snap(left + (width - shownWidth / ratio) * spare) - left,
                top: snap(top + (height - shownHeight / ratio) * spare) - top, ratio };
  }

  // Whether the place was measured for another picture size than the one to show now.
  moved() {
    return !PixelView.sameSize(this.target(), this.placed);
  }

  draw() {
    if (!this.shown) return;
    if (this.moved()) this.place();
    else this.paint();
  }

  // A picture ({width, height, rgba}) of a canvas source, shown.
  put({ width, height, rgba }) {
    this.picture = { width, height };
    if (this.shown && this.moved()) this.measure();
    const direct = Boolean(this.shown) && this.direct();
    const s = this.source;
    PixelView.resize(s, direct ? this.at : this.picture);
    s.getContext("2d").putImageData(new ImageData(rgba, width, height), 0, 0);
    if (direct) this.fillBeside();
    if (this.shown) this.paint();
  }

  // Whether the source itself is shown: a canvas whose picture is shown 1:1
  // at the size the slot is placed for.
  direct() {
    return this.source instanceof HTMLCanvasElement && this.factor === 1 &&
           PixelView.sameSize(this.pictureSize(), this.shown);
  }

  // The source canvas at `size`, its picture kept.
  keepIn(size) {
    const s = this.source;
    if (PixelView.sameSize(s, size)) return;
    const kept = document.createElement("canvas");
    PixelView.resize(kept, this.pictureSize());
    kept.getContext("2d").drawImage(s, 0, 0);
    PixelView.resize(s, size);
    s.getContext("2d").drawImage(kept, 0, 0);
    this.fillBeside();
  }

  // The source canvas right of and below its picture (less than a CSS pixel,
  // the canvas being a whole number of them) in the fill colour.
  fillBeside() {
    const s = this.source;
    const { width, height } = this.pictureSize();
    if (PixelView.sameSize(s, { width, height })) return;
    const g = s.getContext("2d");
    this.fillArea(g, width, 0, s.width - width, s.height);
    this.fillArea(g, 0, height, width, s.height - height);
  }

  // `canvas` shown at the place, the other hidden.
  showOn(canvas) {
    if (canvas.hidden || !canvas.classList.contains("pixel-view")) {
      for (const c of [this.source, this.view]) {
        c.hidden = c !== canvas;
        c.classList.toggle("pixel-view", c === canvas);
      }
    }
    const { width, height, left, top, ratio } = this.at;
    Object.assign(canvas.style, { width: `${width / ratio}px`, height: `${height / ratio}px`, left: `${left}px`,
                                  top: `${top}px` });
  }

  // The source's picture at the place: the source itself, or a copy over the
  // view; a picture of another size than the one the view was placed for (a
  // scene of the last scale) is stretched to it.
  paint() {
    if (this.direct()) {
      this.keepIn(this.at);
      this.showOn(this.source);
      PixelView.resize(this.view, { width: 0, height: 0 });
      return;
    }
    const v = this.view;
    PixelView.resize(v, this.at);
    this.showOn(v);
    const g = v.getContext("2d");
    this.fillArea(g, 0, 0, v.width, v.height);
    g.imageSmoothingEnabled = this.factor < 1;
    g.imageSmoothingQuality = "high";
    if (this.source instanceof HTMLImageElement && !this.source.complete) return;
    const { width, height } = this.pictureSize();
    g.drawImage(this.source, 0, 0, width, height, 0, 0, this.shown.width, this.shown.height);
  }
}
