// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// A scroll bar with an arrow button at each end, a trough and a thumb.
//
// The position is an integer kept within minimum..maximum. An arrow moves it
// by the line step, the trough by the page step (both repeat while the
// button is held), the dragged thumb sets it at every pointer move, and the
// keys Left/Up/PageUp lower it, Right/Down/PageDown raise it, Home and End set
// the minimum and the maximum. onChange runs once for every real change,
// after the new position is stored, whoever caused it.
class ScrollBar {
  static REPEAT_DELAY_MS = 500;
  static REPEAT_INTERVAL_MS = 50;
  static MIN_THUMB = 27;  // pixels along the bar

  constructor(element) {
    const d = element.dataset;
    this.element = element;
    this.vertical = d.orientation === "vertical";
    this.minimum = Number(d.min);
    this.maximum = Number(d.max);
    this.lineStep = Number(d.line);
    this.pageStep = Number(d.page);
    this.position = Number(d.position);
    this.onChange = () => {};
    this.repeatTimer = 0;

    element.classList.add("scroll-bar", this.vertical ? "vertical" : "horizontal");
    element.setAttribute("role", "slider");
    element.setAttribute("aria-orientation", this.vertical ? "vertical" : "horizontal");
    element.setAttribute("aria-valuemin", String(this.minimum));
    element.setAttribute("aria-valuemax", String(this.maximum));
    this.lower = this.addPart("arrow down");
    this.higher = this.addPart("arrow up");
    this.thumb = this.addPart("thumb");
    this.layOut();

    // A bar laid out while hidden has no size yet: lay it out again when shown.
    new ResizeObserver(() => this.layOut()).observe(element);
    element.addEventListener("keydown", (e) => this.onKey(e));
    element.addEventListener("pointerdown", (e) => this.onPointerDown(e));
    element.addEventListener("pointermove", (e) => this.onPointerMove(e));
    element.addEventListener("pointerup", () => this.release());
    element.addEventListener("pointercancel", () => this.release());
    element.addEventListener("lostpointercapture", () => this.release());
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
    this.layOut();
    this.onChange();
  }

  // Pixel sizes along the bar: an arrow button is as long as the bar is thick
  // plus its dividing line and a pixel; the thumb's end lines lie on the
  // arrows' dividing lines when it touches them.
  geometry() {
    const length = this.vertical ? this.element.clientHeight : this.element.clientWidth;
    const arrow = (this.vertical ? this.element.clientWidth : this.element.clientHeight) + 2;
    const groove = Math.max(0, length - 2 * arrow + 2);
    const range = this.maximum - this.minimum;
    const thumb = Math.min(groove,
        Math.max(ScrollBar.MIN_THUMB, Math.round(groove * this.pageStep / (range + this.pageStep))));
    const travel = groove - thumb;
    const offset = range === 0 ? 0 : Math.round((this.position - this.minimum) * travel / range);
    return { length, arrow, groove, thumb, travel, start: arrow - 1 + offset };
  }

  layOut() {
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
    this.element.setAttribute("aria-valuenow", String(this.position));
  }

  onKey(event) {
    const steps = {
      ArrowLeft: -this.lineStep, ArrowUp: -this.lineStep, PageUp: -this.pageStep,
      ArrowRight: this.lineStep, ArrowDown: this.lineStep, PageDown: this.pageStep,
    };
    if (event.key in steps) this.setPosition(this.position + steps[event.key]);
    else if (event.key === "Home") this.setPosition(this.minimum);
    else if (event.key === "End") this.setPosition(this.maximum);
    else return;
    event.preventDefault();
  }

  along(event) {
    const box = this.element.getBoundingClientRect();
    return this.vertical ? event.clientY - box.top : event.clientX - box.left;
  }

  onPointerDown(event) {
    if (event.button !== 0) return;
    event.preventDefault();
    this.element.focus();
    this.element.setPointerCapture(event.pointerId);
    const at = this.along(event);
    const g = this.geometry();
    if (event.target === this.thumb) {
      this.grab = at - g.start;
      this.pressed = this.thumb;
    } else if (event.target === this.lower || event.target === this.higher) {
      const step = event.target === this.lower ? -this.lineStep : this.lineStep;
      this.pressed = event.target;
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
