// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Radio buttons grouped by their panel, each its own tab stop. Selecting one
// deselects the others of its group, then runs its own handler; selecting the
// one already selected does nothing (the browser fires no change for it).
class RadioGroup {
  constructor(buttons) {
    this.buttons = buttons;
    for (const button of buttons) {
      button.addEventListener("change", () => {
        if (!button.checked) return;
        for (const other of buttons) if (other !== button) other.checked = false;
        this.handlers.get(button)?.();
      });
    }
    this.handlers = new Map();
  }

  on(button, handler) { this.handlers.set(button, handler); }
}
