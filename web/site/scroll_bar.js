// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// A scroll bar with an arrow button at each end, a trough and a thumb, as a
// slider for assistive technology.
//
// The position is an integer kept within minimum..maximum. An arrow moves it
// by the line step, the trough by the page step (both repeat while held, by
// mouse or finger), the dragged thumb sets it at every pointer move. Keys
// follow the page's key rules of the window's description (the slider
// pattern on the value that the readout shows). onChange runs once for every
// real change, after the new position is stored, whoever caused it.

class ScrollBar {
  // The page's key rules of the description ("keyRules": "page").
  static keyRules = [];
  static REPEAT_DELAY_MS = 500;
  static REPEAT_INTERVAL_MS = 50;
  // The thumb's least length: 27 pixels on a 12-pixel bar, scaled with the
  // bar; in the column arrangement a finger's width.
  static minimumThumb(thickness) {
    return document.documentElement.classList.contains("column-layout") ? Math.max(44, thickness)
                                                                  : Math.round(27 * thickness / 12);
  }

  // Lays out these bars: every size first, then every bar's parts (a size
  // read after another bar's parts were placed would lay out the page
  // again). The page does so once it is built (a size read before would lay
  // it out at once, with the rest still to come), and the bars again
  // whenever their size changes (shown, scaled, rearranged).
  static layOut(bars) {
    for (const bar of bars) bar.size = bar.sizeNow();
    for (const bar of bars) bar.placeParts();
  }

  static bars = new WeakMap();
  static resized = new ResizeObserver((entries) => ScrollBar.layOut(entries.map(({ target }) => ScrollBar.bars.get(target))));

  // slider: the description's {orientation, minimum, maximum, position,
  // lineStep, pageStep, decimals, negated, unit, texts}.
  constructor(element, slider) {
    this.element = element;
    this.vertical = slider.orientation === "vertical";
    this.minimum = slider.minimum;
    this.maximum = slider.maximum;
    this.lineStep = slider.lineStep;
    this.pageStep = slider.pageStep;
    this.coarseStep = slider.coarseStep ?? slider.pageStep;
    this.perUnit = 10 ** (slider.decimals ?? 0);
    this.position = slider.position;
    this.decimals = slider.decimals;
    // The readout's text at each position, minimum first, as the desktop
    // writes it (decimal comma, no trailing zeros).
    this.texts = slider.texts;
    this.unit = slider.unit ?? "";
    // The shown value runs against the position for a negated readout.
    this.sign = slider.negated ? -1 : 1;
    this.onChange = () => {};
    this.repeatTimer = 0;

    element.classList.add("scroll-bar", this.vertical ? "vertical" : "horizontal");
    element.tabIndex = 0;
    element.setAttribute("role", "slider");
    element.setAttribute("aria-orientation", this.vertical ? "vertical" : "horizontal");
    const ends = [this.shownValue(this.minimum), this.shownValue(this.maximum)];
    element.setAttribute("aria-valuemin", String(Math.min(...ends)));
    element.setAttribute("aria-valuemax", String(Math.max(...ends)));
    this.lower = this.addPart("arrow down");
    this.higher = this.addPart("arrow up");
    this.thumb = this.addPart("thumb");
    this.placeParts();
    ScrollBar.bars.set(element, this);
    ScrollBar.resized.observe(element);
    element.addEventListener("keydown", (e) => this.onKey(e));
    element.addEventListener("pointerdown", (e) => this.onPointerDown(e));
    element.addEventListener("pointermove", (e) => this.onPointerMove(e));
    element.addEventListener("pointerup", () => this.release());
    element.addEventListener("pointercancel", () => this.release());
    element.addEventListener("lostpointercapture", () => this.release());
    element.addEventListener("contextmenu", (e) => e.preventDefault());
  }

  // The value as the readout shows it, as a number.
  shownValue(position) {
    return this.sign * position / 10 ** this.decimals;
  }

  // The readout's text: "1,23" (at the position in force unless given).
  text(position = this.position) {
    return this.texts[position - this.minimum];
  }

  // With a unit "1200 V"; a bare number with its greatest value: "200 von 300".
  valueText() {
    return this.unit ? `${this.text()} ${this.unit}` : `${this.text()} von ${this.text(this.maximum)}`;
  }

  addPart(className) {
    const part = document.createElement("div");
    part.className = className;
    part.setAttribute("aria-hidden", "true");
    this.element.appendChild(part);
    return part;
  }

  // Sets the position, clamped to the range; fires onChange if it changed.
  setPosition(value) {
    const clamped = Math.min(this.maximum, Math.max(this.minimum, Math.round(value)));
    if (clamped === this.position) return;
    this.position = clamped;
    this.placeParts();
    this.onChange();
  }

  // Sizes along the bar in its own (unscaled) pixels: an arrow button is as
  // long as the bar is thick plus its dividing line and a pixel; the
  // thumb's end lines lie on the arrows' dividing lines when it touches them.
  geometry() {
    this.size ??= this.sizeNow();
    const { width, height } = this.size;
    const length = this.vertical ? height : width;
    const thickness = this.vertical ? width : height;
    const arrow = thickness + 2;
    const groove = Math.max(0, length - 2 * arrow + 2);
    const range = this.maximum - this.minimum;
    const thumb = Math.min(groove, Math.max(ScrollBar.minimumThumb(thickness),
                                            Math.round(groove * this.pageStep / (range + this.pageStep))));
    const travel = groove - thumb;
    const offset = range === 0 ? 0 : Math.round((this.position - this.minimum) * travel / range);
    return { length, arrow, groove, thumb, travel, start: arrow - 1 + offset };
  }

  // The bar's size is read where its layout may have changed (resized); a
  // new position keeps it: read at every step of a dragged thumb, it would
  // lay out the whole page each time.
  sizeNow() { return { width: this.element.clientWidth, height: this.element.clientHeight }; }

  // The position in the attributes, and in the parts once the bar's size is known.
  placeParts() {
    this.element.setAttribute("aria-valuenow", String(this.shownValue(this.position)));
    this.element.setAttribute("aria-valuetext", this.valueText());
    this.element.dataset.position = String(this.position);
    if (!this.size) return;
    const g = this.geometry();
    const place = (part, start, size) => {
      const s = part.style;
      if (this.vertical) {
        Object.assign(s, { left: "0", width: "100%", top: `${start}px`, height: `${size}px` });
      } else {
        Object.assign(s, { top: "0", height: "100%", left: `${start}px`, width: `${size}px` });
      }
    };
    place(this.lower, 0, g.arrow);
    place(this.higher, g.length - g.arrow, g.arrow);
    place(this.thumb, g.start, g.thumb);
  }

  onKey(event) {
    // Ctrl with a page key: a coarse step.
    if (event.ctrlKey && !event.altKey && !event.metaKey && (event.key === "PageUp" || event.key === "PageDown")) {
      this.setPosition(this.position + this.sign * (event.key === "PageUp" ? this.coarseStep : -this.coarseStep));
      event.preventDefault();
      return;
    }
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const rule = ScrollBar.keyRules.find((r) => r.key === event.key);
    if (!rule) return;
    this.setPosition(this.positionAfter(rule));
    event.preventDefault();
  }

  // Where a key rule leads: a line, a page or to an end, counted on the
  // position, the shown value, or the thumb (right is more; on a vertical
  // bar, the shown value).
  positionAfter({ direction, measure, reference }) {
    const byValue = reference === "value" || (reference === "thumb" && this.vertical);
    const sign = byValue ? this.sign * direction : direction;
    if (measure === "end") return sign > 0 ? this.maximum : this.minimum;
    return this.position + sign * (measure === "page" ? this.pageStep : this.lineStep);
  }

  // The pointer's place along the bar in the bar's own pixels (the page may
  // be scaled).
  along(event) {
    const box = this.element.getBoundingClientRect();
    const g = this.geometry();
    const shown = this.vertical ? box.height : box.width;
    const at = this.vertical ? event.clientY - box.top : event.clientX - box.left;
    return shown > 0 ? at * g.length / shown : at;
  }

  // The part under the pointer: the thumb, an arrow, or the trough (null).
  partAt(at) {
    const g = this.geometry();
    if (at >= g.start && at < g.start + g.thumb) return this.thumb;
    if (at < g.arrow) return this.lower;
    if (at >= g.length - g.arrow) return this.higher;
    return null;
  }

  onPointerDown(event) {
    if (event.button !== 0) return;
    event.preventDefault();
    this.element.focus();
    this.element.setPointerCapture(event.pointerId);
    const at = this.along(event);
    const part = this.partAt(at);
    if (part === this.thumb) {
      this.grab = at - this.geometry().start;
      this.pressed = this.thumb;
    } else if (part) {
      const step = part === this.lower ? -this.lineStep : this.lineStep;
      this.pressed = part;
      this.repeat(() => this.setPosition(this.position + step));
    } else {
      this.pointer = at;
      this.repeat(() => this.pageTowards(this.pointer));
    }
    if (this.pressed) this.pressed.classList.add("pressed");
  }

  // One page step towards the pointer, unless the thumb already lies under it.
  pageTowards(at) {
    const g = this.geometry();
    if (at < g.start) this.setPosition(this.position - this.pageStep);
    else if (at >= g.start + g.thumb) this.setPosition(this.position + this.pageStep);
  }

  // A button that moves the position by `positions`: once when pressed, then
  // again after the arrows' delay and at their interval until the pointer is
  // lifted or leaves it. Pressed by a key or a screen reader, one step.
  stepWhileHeld(button, positions) {
    const step = () => this.setPosition(this.position + positions);
    button.addEventListener("pointerdown", (event) => {
      if (event.button !== 0) return;
      event.preventDefault();
      this.repeat(step);
    });
    for (const type of ["pointerup", "pointercancel", "pointerleave"]) {
      button.addEventListener(type, () => clearTimeout(this.repeatTimer));
    }
    // A click with no pointer behind it (detail 0): the pointer has stepped already.
    button.addEventListener("click", (event) => { if (event.detail === 0) step(); });
    button.addEventListener("contextmenu", (event) => event.preventDefault());
  }

  // Runs action now, then again after a delay and at intervals until release.
  repeat(action) {
    action();
    const again = () => {
      action();
      this.repeatTimer = setTimeout(again, ScrollBar.REPEAT_INTERVAL_MS);
    };
    this.repeatTimer = setTimeout(again, ScrollBar.REPEAT_DELAY_MS);
  }

  onPointerMove(event) {
    if (this.pressed === this.thumb) {
      const g = this.geometry();
      const offset = this.along(event) - this.grab - (g.arrow - 1);
      const range = this.maximum - this.minimum;
      if (g.travel > 0) this.setPosition(this.minimum + offset * range / g.travel);
    } else if (this.pointer !== undefined) {
      this.pointer = this.along(event);
    }
  }

  release() {
    clearTimeout(this.repeatTimer);
    if (this.pressed) this.pressed.classList.remove("pressed");
    this.pressed = undefined;
    this.pointer = undefined;
  }
}
