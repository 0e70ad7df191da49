// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Builds the window's controls from its description (form1_description.js,
// written by varek-form-export from the desktop's table): one element a row.
//
// Each element carries its row's place and size as the CSS properties --l,
// --t, --w, --h (form pixels) and its font as --font; the arrangement in
// form1.css turns them into pixels at the page's scale. A parent's children
// stand in the DOM in the order Tab visits them (a control without a tab
// stop just before the next sibling that has one), and z-index keeps the
// rows' stacking order. An element that the page already holds under a
// row's name is taken as it is and placed. Rows of the desktop edition alone
// are left out; those of the column arrangement alone are shown only there
// (class column-only). A button that steps a scroll bar is no tab stop (the
// bar's own keys do its work) and steps the bar while it is held.

// One control's element; `ui` collects what the page works with; `text`:
// the HTML that the page shows instead of the row's picture, if any.
function buildControl(row, ui, text) {
  const make = (tag, className) => {
    const existing = document.getElementById(row.name);
    const element = existing ?? document.createElement(tag);
    if (!existing) element.id = row.name;
    element.classList.add("at", ...className.split(" ").filter(Boolean));
    return element;
  };
  let element;
  switch (row.kind) {
    case "panel":
      element = make("div", `panel${row.bevel === "none" ? " flat" : ""}`);
      break;
    case "label":
      element = make("span", "label");
      element.textContent = row.caption;
      break;
    case "edit":
      element = make("input", "edit");
      element.readOnly = true;
      break;
    case "button":
      element = make("button", "");
      element.type = "button";
      element.textContent = row.caption;
      break;
    case "checkBox":
    case "radioButton": {
      const input = document.createElement("input");
      input.type = row.kind === "checkBox" ? "checkbox" : "radio";
      input.id = row.name;
      input.checked = row.checked;
      // The radio buttons of a panel share a name: one tab stop, the arrow keys choose.
      if (row.kind === "radioButton") input.name = row.parent;
      if (row.accessibleName) input.setAttribute("aria-label", row.accessibleName);
      element = document.createElement("label");
      element.className = "at choice";
      element.append(input, row.caption);
      ui[row.name] = input;
      break;
    }
    case "scrollBar":
      element = make("div", "");
      ui[row.name] = new ScrollBar(element, row.slider);
      break;
    case "paintBox":
    case "image":
      element = text === undefined ? buildPicture(row, ui) : buildText(row, ui, text);
      break;
    case "spinBox":
      element = make("input", "edit spin-box");
      Object.assign(element, { type: "number", min: row.slider.minimum, max: row.slider.maximum,
                               step: row.slider.lineStep, value: row.slider.position });
      break;
    case "table": {
      // A scrolling box; the table in it is what takes the focus.
      element = make("div", "table-view");
      const table = document.createElement("table");
      table.setAttribute("role", "grid");
      table.tabIndex = 0;
      table.append(document.createElement("thead"), document.createElement("tbody"));
      element.append(table);
      ui[row.name] = table;
      break;
    }
    case "text":
      // What the program writes at run time; spoken when it changes.
      element = make("div", "text-view");
      element.setAttribute("role", "status");
      break;
    case "plot":
      element = make("div", "plot-view");
      element.setAttribute("role", "img");
      break;
    default:
      throw new Error(`unknown kind of control: ${row.kind}`);
  }
  const style = element.style;
  for (const [property, value] of [["--l", row.left], ["--t", row.top], ["--w", row.width], ["--h", row.height]]) {
    style.setProperty(property, String(value));
  }
  // The protocol's rows: their place when the protocol stands beside the form.
  if (row.beside) {
    element.classList.add("placed-beside");
    for (const [property, value] of [["--bl", row.beside.left], ["--bt", row.beside.top], ["--bw", row.beside.width],
                                     ["--bh", row.beside.height]]) {
      style.setProperty(property, String(value));
    }
  }
  if (row.font) {
    style.setProperty("--font", String(row.font.pixels));
    style.fontWeight = row.font.bold ? "bold" : "normal";
  }
  if (row.text) style.color = row.text;
  if (row.fill) style.backgroundColor = row.fill;
  if (row.kind === "label" || row.width === 0) element.classList.add("sized-by-text");
  if (row.edition === "column") element.classList.add("column-only");
  if (row.step) element.tabIndex = -1;
  element.hidden = !row.visible;
  const focusable = ui[row.name] instanceof HTMLElement ? ui[row.name] : element;
  if (row.accessibleName && row.kind !== "checkBox" && row.kind !== "radioButton" && row.kind !== "paintBox" &&
      row.kind !== "image") {
    focusable.setAttribute("aria-label", row.accessibleName);
  }
  if (row.hint) focusable.title = row.hint;
  if (row.shortcut) focusable.setAttribute("aria-keyshortcuts", row.shortcut.replace("Ctrl", "Control"));
  ui[row.name] ??= element;
  return element;
}

// The text of a picture of text (the explanation and data pages), in the
// picture's place: HTML with MathML formulas, laid out as the picture is.
function buildText(row, ui, html) {
  const text = document.createElement("div");
  text.id = `${row.name}Text`;
  text.className = "at page-text";
  text.innerHTML = html;
  ui.texts[row.name] = text;
  return text;
}

// A picture: a slot of the control's size, its picture as a canvas (a
// paint box) or an image, and the view that shows it crisply.
function buildPicture(row, ui) {
  const slot = document.createElement("div");
  slot.id = `${row.name}Slot`;
  slot.className = "at picture";
  slot.setAttribute("role", "img");
  slot.setAttribute("aria-label", row.accessibleName);
  if (row.accessibleDescription) slot.setAttribute("aria-description", row.accessibleDescription);
  // The data page's text stands beside its picture (buildForm).
  if (row.describedByData) slot.setAttribute("aria-describedby", `${row.name}Text`);
  let source;
  if (row.kind === "paintBox") {
    source = document.createElement("canvas");
    source.width = row.width;
    source.height = row.height;
  } else {
    source = document.createElement("img");
    source.src = row.picture;
    source.alt = "";
  }
  source.id = row.name;
  source.hidden = true;
  slot.append(source);
  const fill = row.kind === "image" || row.name === "PaintBox2" ? "white" : "transparent";
  slot.style.backgroundColor = fill;
  const view = new PixelView(slot, source, { width: row.width, height: row.height, fill });
  ui.views.push(view);
  ui.viewOf[row.name] = view;
  ui[row.name] = source;
  ui.slots[row.name] = slot;
  return slot;
}

// Shows each control that is shown only while a check box or radio button
// is checked ("shownWhile") as that control is now.
function applyShownWhile(rows, ui) {
  for (const row of rows) if (row.shownWhile) ui[row.name].hidden = !ui[row.shownWhile].checked;
}

// Siblings in the order Tab visits them; `stops`: the names of the controls
// that are or hold a tab stop.
function tabOrdered(rows, stops) {
  const keys = rows.map(() => Infinity);
  let next = Infinity;
  for (let i = rows.length - 1; i >= 0; --i) {
    if (stops.has(rows[i].name)) next = rows[i].tabOrder;
    keys[i] = next;
  }
  return rows.map((row, i) => ({ row, i, key: keys[i], own: stops.has(row.name) }))
      .sort((a, b) => a.key - b.key || a.own - b.own || a.i - b.i)
      .map(({ row }) => row);
}

// Builds every control into `root` (the window's element). Returns the
// page's controls by name, with `views` (the picture views), `viewOf` (a
// picture's view by its name), `slots` (the pictures' slots) and `texts`
// (the elements holding the pictures' texts).
function buildForm(description, root) {
  const ui = { views: [], viewOf: {}, slots: {}, texts: {} };
  const elements = { [description.window.name]: root };
  const children = new Map();
  description.controls.forEach((row, stacking) => {
    if (row.edition === "desktop") return;
    elements[row.name] = buildControl(row, ui, description.texts?.[row.name]);
    elements[row.name].style.zIndex = String(stacking);
    if (!children.has(row.parent)) children.set(row.parent, []);
    children.get(row.parent).push(row);
  });
  // A radio button that is unchecked fires no change of its own; its group's does.
  root.addEventListener("change", () => applyShownWhile(description.controls, ui));
  for (const row of description.controls.filter((r) => r.step)) {
    ui[row.step.slider].stepWhileHeld(ui[row.name], row.step.positions);
  }
  const parentOf = new Map(description.controls.map((row) => [row.name, row.parent]));
  const stops = new Set();
  for (let name of description.tabChain) {
    for (; parentOf.has(name); name = parentOf.get(name)) stops.add(name);
  }
  for (const [parent, rows] of children) {
    for (const row of tabOrdered(rows, stops)) elements[parent].append(elements[row.name]);
  }
  // A slider whose readout (with its label) stands elsewhere, or that has
  // none, and that no label of the window names, is "named": the column
  // arrangement shows its name above it.
  const labelled = new Set(description.controls.map((r) => r.names).filter(Boolean));
  for (const row of description.controls.filter((r) => r.kind === "scrollBar")) {
    if (parentOf.get(row.slider.readout) !== row.parent && !labelled.has(row.name)) {
      elements[row.name].classList.add("named");
    }
  }
  return ui;
}
