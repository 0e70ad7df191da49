// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// How the window fills the screen. Two arrangements, chosen by the room the
// viewport gives (columnArrangement() of index.html), not by the pointer:
//
// - The window, as on the desktop: every control at its place, the whole
//   scaled uniformly to fit the viewport and centred (up on projectors, down
//   on small screens), wherever the form is legible at that scale. The shown
//   form is the information page's rectangle, grown to hold every shown
//   control of the window with the margin of 8 pixels that the right column
//   keeps (the protocol panel widens it). A coarse pointer (a touch screen,
//   a whiteboard) only widens what a finger hits (form1.css). The protocol
//   stands beneath the apparatus or, where the viewport is wide enough,
//   beside the form (class protocol-beside), by the description's
//   protocolPlaces: the rule of form/protocol_place.h.
// - The column: below that (phones, tablets, narrow windows, large browser
//   zoom), the scene as wide as the viewport and kept at its top while the
//   settings, the view controls and the protocol scroll beneath it, every
//   target at least 44 x 44 pixels; in a landscape viewport the scene stands
//   left of them. The window's children then stand in that order in the DOM
//   too, so Tab follows what is seen.
//
// The scene is drawn at the scale of its slot (PixelView).
class PageLayout {
  static MARGIN = 8;
  // The window's children in the column arrangement, from the top.
  static COLUMN_ORDER = ["Panel4", "PaintBox1Slot", "Panel9", "ReadingHint", "ScrollBar2", "ScrollBar1", "Panel6",
                         "ProtocolButton", "LinkButton", "Protocol", "ProtocolReadings"];

  // description: the window's; form: its element; views: the pictures' views.
  constructor(description, form, views) {
    this.description = description;
    this.form = form;
    this.views = views;
    this.windowOrder = [...form.children];
    this.columnOrdered = false;  // whether the children stand in the column order
    // The form the arrangement is chosen for: the information page's.
    this.page = description.controls.find((row) => row.parent === description.window.name && row.name === "Panel4");
    window.addEventListener("resize", () => this.update());
    // A new device pixel ratio (browser zoom, another screen) moves the pixel grid.
    this.watchRatio();
  }

  watchRatio() {
    matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`)
        .addEventListener("change", () => { this.watchRatio(); this.update(); }, { once: true });
  }

  column() { return columnArrangement(this.page.width, this.page.height); }

  // Whether the protocol stands beside the form: where the form with it
  // there is shown at the least scale for that, or as large as with the
  // protocol beneath.
  besideFits() {
    const { beneath, beside, besideLeastScale } = this.description.protocolPlaces;
    return windowScale(beside.width, beside.height) >=
        Math.min(besideLeastScale, windowScale(beneath.width, beneath.height));
  }

  // The shown part of the form in form pixels, the protocol beside it or not.
  shownSize(beside) {
    const rows = this.description.controls.filter((row) => row.parent === this.description.window.name);
    let { width, height } = this.page;
    for (const row of rows) {
      const element = document.getElementById(row.kind === "paintBox" ? `${row.name}Slot` : row.name);
      if (row === this.page || !element || element.hidden) continue;
      const place = beside && row.beside ? row.beside : row;
      width = Math.max(width, place.left + place.width + PageLayout.MARGIN);
      height = Math.max(height, place.top + place.height + PageLayout.MARGIN);
    }
    return { width, height };
  }

  // In the window arrangement the pictures' scale follows from the form's,
  // which index.html set: the views take it before the page is laid out.
  // False in the column arrangement, where the style alone sizes the scene.
  expectScale() {
    const root = document.documentElement;
    if (root.classList.contains("column-layout")) return false;
    const scale = Number(root.style.getPropertyValue("--s"));
    for (const view of this.views) view.expect(scale);
    return true;
  }

  update() {
    const root = document.documentElement;
    const column = this.column();
    root.classList.toggle("column-layout", column);
    if (column !== this.columnOrdered) {
      this.columnOrdered = column;
      const order = column ? PageLayout.COLUMN_ORDER.map((id) => document.getElementById(id)).filter(Boolean)
                           : this.windowOrder;
      const focused = document.activeElement;
      for (const child of order) this.form.append(child);
      if (focused instanceof HTMLElement && focused !== document.activeElement) focused.focus();
    }
    const beside = !column && this.besideFits();
    root.classList.toggle("protocol-beside", beside);
    if (!column) {
      const { width, height } = this.shownSize(beside);
      root.style.setProperty("--s", String(windowScale(width, height)));
      root.style.setProperty("--form-width", String(width));
      root.style.setProperty("--form-height", String(height));
    } else {
      root.style.setProperty("--s", "1");
    }
    for (const view of this.views) view.layOut();
  }
}
