// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// How the window fills the screen. Two arrangements:
//
// - The window, as on the desktop: every control at its place, the whole
//   scaled uniformly to fit the viewport and centred (up on projectors, down
//   on small screens). The shown form is the information page's rectangle,
//   grown to hold every shown control of the window with the margin of 8
//   pixels that the right column keeps (the protocol panel widens it).
// - Touch: below 700 CSS pixels of width and on every coarse pointer (phones,
//   tablets, touch screens), the controls in one column at their natural
//   size: the scene as wide as the screen allows, then the settings, then
//   the view controls and the protocol, every target at least 44 x 44 pixels.
//   The window's children then stand in that order in the DOM too, so Tab
//   follows what is seen.
//
// The pictures keep whole device pixels per picture pixel in both (PixelView).
//
// Which arrangement and the window's scale: touchArrangement() and
// windowScale() of index.html, which lays the page out before its first paint.
class PageLayout {
  static MARGIN = 8;
  // The window's children in the touch arrangement, from the top.
  static TOUCH_ORDER = ["Panel4", "PaintBox1Slot", "Panel9", "ReadingHint", "ScrollBar2", "ScrollBar1", "Panel6",
                        "ProtocolButton", "LinkButton", "Protocol", "ProtocolReadings"];

  // description: the window's; form: its element; views: the pictures' views.
  constructor(description, form, views) {
    this.description = description;
    this.form = form;
    this.views = views;
    this.windowOrder = [...form.children];
    this.touchOrdered = false;  // whether the children stand in the touch order
    this.coarse = matchMedia("(pointer: coarse)");
    this.coarse.addEventListener("change", () => this.update());
    window.addEventListener("resize", () => this.update());
    // A new device pixel ratio (browser zoom, another screen) moves the pixel grid.
    this.watchRatio();
  }

  watchRatio() {
    matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`)
        .addEventListener("change", () => { this.watchRatio(); this.update(); }, { once: true });
  }

  touch() { return touchArrangement(); }

  // The shown part of the form in form pixels.
  shownSize() {
    const rows = this.description.controls.filter((row) => row.parent === this.description.window.name);
    const page = rows.find((row) => row.name === "Panel4");
    let width = page.width, height = page.height;
    for (const row of rows) {
      const element = document.getElementById(row.kind === "paintBox" ? `${row.name}Slot` : row.name);
      if (row === page || !element || element.hidden) continue;
      width = Math.max(width, row.left + row.width + PageLayout.MARGIN);
      height = Math.max(height, row.top + row.height + PageLayout.MARGIN);
    }
    return { width, height };
  }

  update() {
    const root = document.documentElement;
    const touch = this.touch();
    root.classList.toggle("touch", touch);
    if (touch !== this.touchOrdered) {
      this.touchOrdered = touch;
      const order = touch ? PageLayout.TOUCH_ORDER.map((id) => document.getElementById(id)).filter(Boolean)
                          : this.windowOrder;
      const focused = document.activeElement;
      for (const child of order) this.form.append(child);
      if (focused instanceof HTMLElement && focused !== document.activeElement) focused.focus();
    }
    if (!touch) {
      const { width, height } = this.shownSize();
      root.style.setProperty("--s", String(windowScale(width, height)));
      root.style.setProperty("--form-width", String(width));
      root.style.setProperty("--form-height", String(height));
    } else {
      root.style.setProperty("--s", "1");
    }
    for (const view of this.views) view.layOut();
    // In the touch arrangement the scene's slot is as high as its picture is shown.
    const scene = this.views.find((view) => view.slot.id === "PaintBox1Slot");
    scene?.slot.style.setProperty("--scene-height", touch && scene.shown ? scene.view.style.height : "");
  }
}
