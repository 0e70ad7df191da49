// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The protocol's table on the page: only the rows in sight and a few on
// either side are elements; the box scrolls over the height of all rows.
// The rows come from the core (protocol_module.js viewRows) as they come
// into sight, so that a change costs the same at 20,000 rows as at 20. The
// grid says how many rows there are (aria-rowcount) and each row which it is
// (aria-rowindex); the selected row is the grid's active descendant.

class ProtocolTableView {
  // Rows made beyond each edge of the box, for a smooth scroll.
  static MARGIN = 8;

  // table: the grid in its scrolling box; core: ProtocolModule; captions: its texts.
  constructor(table, core, captions) {
    this.table = table;
    this.core = core;
    this.captions = captions;
    this.box = table.parentNode;
    // All rows' height, the table lies in it where the rows it shows belong.
    this.sizer = document.createElement("div");
    this.sizer.className = "table-rows";
    this.box.append(this.sizer);
    this.sizer.append(table);
    this.body = table.tBodies[0];
    this.rowCount = 0;
    // Measured on the titles and a row shown, again when the box's size
    // changes: a change does not lay out the page to ask.
    this.headHeight = 0;
    this.rowHeight = 0;
    this.selected = null;  // the identity of the selected row
    this.selectedIndex = -1;
    this.box.addEventListener("scroll", () => this.ShowRows());
    new ResizeObserver(() => {
      this.headHeight = this.rowHeight = 0;
      this.ShowRows(true);  // measured now, while the page is laid out
    }).observe(this.box);
  }

  // The core's view changed: its head (titles, rowCount) and the rows in sight.
  Update(head) {
    const thead = this.table.tHead;
    if (thead.rows.length === 0 || thead.rows[0].cells.length !== head.titles.length) {
      const line = document.createElement("tr");
      line.setAttribute("aria-rowindex", "1");
      for (const title of head.titles) {
        const cell = document.createElement("th");
        cell.textContent = title;
        cell.scope = "col";
        line.append(cell);
      }
      thead.replaceChildren(line);
      this.headHeight = 0;
    }
    this.numberTitle = head.titles[0];
    this.columns = head.titles.length;
    this.rowCount = head.rowCount;
    this.table.setAttribute("aria-rowcount", String(head.rowCount + 1));
    this.selectedIndex = this.selected === null ? -1 : this.core.rowIndex(this.selected);
    if (this.selectedIndex < 0) this.selected = null;
    this.ShowRows(true);
  }

  // The rows in sight, from the core when they are others than shown or `changed`.
  ShowRows(changed = false) {
    this.headHeight ||= this.table.tHead.getBoundingClientRect().height;
    const headHeight = this.headHeight;
    const height = this.rowHeight || headHeight || 20;
    const top = this.box.scrollTop;
    const inSight = Math.ceil(Math.max(this.box.clientHeight, height) / height);
    const first = Math.max(0, Math.min(this.rowCount, Math.floor(top / height)) - ProtocolTableView.MARGIN);
    const end = Math.min(this.rowCount, first + inSight + 2 * ProtocolTableView.MARGIN + 1);
    if (!changed && first === this.first && end === this.end) return;
    [this.first, this.end] = [first, end];
    this.fill(end > first ? this.core.viewRows(first, end - first) : [], first);
    // From one row's top to the next (the last row's height may differ by its border).
    const lines = this.body.rows;
    let measured = this.rowHeight;
    if (measured > 0) {
      // Known.
    } else if (lines.length >= 2) {
      measured = (lines[lines.length - 1].getBoundingClientRect().top - lines[0].getBoundingClientRect().top) /
                 (lines.length - 1);
    } else if (lines.length === 1 && !measured) {
      measured = lines[0].getBoundingClientRect().height;
    } else if (lines.length === 0 && this.columns) {
      measured = this.probeRowHeight();
    }
    if (measured > 0 && Math.abs(measured - this.rowHeight) > 0.01) {
      this.rowHeight = measured;
      this.ShowRows(true);  // the rows for the measured height
      return;
    }
    this.sizer.style.height = `${headHeight + this.rowCount * height}px`;
    this.table.style.top = `${first * height}px`;
  }

  // The height of a row, measured on two rows made for it while the table
  // has none (when the box is laid out anyway: at the start, after a
  // resize), so that the first rows of an import do not lay out the page
  // once more to ask.
  probeRowHeight() {
    const probes = [this.newRow(), this.newRow()];
    for (const line of probes) {
      line.style.visibility = "hidden";
      line.cells[0].lastChild.data = "1";
      for (let c = 1; c < this.columns; ++c) line.cells[c].textContent = "0";
      this.body.append(line);
    }
    const height = probes[1].getBoundingClientRect().top - probes[0].getBoundingClientRect().top;
    for (const line of probes) line.remove();
    return height;
  }

  // The rows `rows` (of the view, the first at `first`) as the body's rows,
  // each element kept for its row while it stays in sight.
  fill(rows, first) {
    const wanted = new Set(rows.map((row) => row.id));
    const spare = [];
    for (const line of [...this.body.rows]) {
      if (!wanted.has(line.dataset.id)) {
        line.remove();
        spare.push(line);
      }
    }
    let next = this.body.firstElementChild;
    let activeShown = false;
    rows.forEach((row, i) => {
      let line = document.getElementById(`ProtocolRow-${row.id}`);
      if (!line || line.parentNode !== this.body) line = spare.pop() ?? this.newRow();
      this.fillRow(line, row, first + i);
      if (row.id === this.selected) activeShown = true;
      if (line === next) next = next.nextElementSibling;
      else this.body.insertBefore(line, next);
    });
    if (activeShown) this.table.setAttribute("aria-activedescendant", `ProtocolRow-${this.selected}`);
    else this.table.removeAttribute("aria-activedescendant");
  }

  // An empty row of the table's cells, with the check box "in Auswertung".
  newRow() {
    const line = document.createElement("tr");
    for (let c = 0; c < this.columns; ++c) line.append(document.createElement("td"));
    const included = document.createElement("input");
    Object.assign(included, { type: "checkbox", title: this.captions.inclusionHint });
    line.cells[0].append(included, document.createTextNode(""));
    line.shown = { cells: [], outlier: false, included: null };
    return line;
  }

  // The view's row `row`, the index-th, in `line`, touching only what
  // differs from what it shows.
  fillRow(line, row, index) {
    if (line.dataset.id !== row.id) {
      line.id = `ProtocolRow-${row.id}`;
      line.dataset.id = row.id;
    }
    const rowIndex = String(index + 2);  // the titles are the first
    if (line.getAttribute("aria-rowindex") !== rowIndex) line.setAttribute("aria-rowindex", rowIndex);
    const selected = String(row.id === this.selected);
    if (line.getAttribute("aria-selected") !== selected) line.setAttribute("aria-selected", selected);
    const shown = line.shown;
    row.cells.forEach((text, c) => {
      if (shown.cells[c] === text) return;
      if (c === 0) {
        line.cells[0].lastChild.data = text;
        line.cells[0].firstChild.setAttribute("aria-label", `${this.numberTitle} ${text}: ${this.captions.inclusionHint}`);
      } else {
        line.cells[c].textContent = text;
      }
    });
    shown.cells = row.cells;
    if (shown.outlier !== row.outlier) {
      line.className = row.outlier ? "outlier" : "";
      if (row.outlier) line.title = this.captions.outlierHint;
      else line.removeAttribute("title");
      shown.outlier = row.outlier;
    }
    if (shown.included !== row.included) line.cells[0].firstChild.checked = shown.included = row.included;
  }

  // The row `line` (an element of the body) selected.
  Select(line) { this.SelectAt(Number(line.getAttribute("aria-rowindex")) - 2); }

  // The index-th row (from 0; beyond the ends the first or last) selected
  // and scrolled into sight.
  SelectAt(index) {
    if (this.rowCount === 0) return;
    index = Math.max(0, Math.min(this.rowCount - 1, index));
    const height = this.rowHeight || 20;
    this.headHeight ||= this.table.tHead.getBoundingClientRect().height;
    const headHeight = this.headHeight;
    // Below the titles, which stay at the top.
    const top = index * height, bottom = headHeight + (index + 1) * height;
    if (top < this.box.scrollTop) this.box.scrollTop = top;
    else if (bottom > this.box.scrollTop + this.box.clientHeight) this.box.scrollTop = bottom - this.box.clientHeight;
    this.ShowRows();
    const line = this.body.querySelector(`tr[aria-rowindex="${index + 2}"]`);
    if (!line) return;
    const previous = this.selected === null ? null : document.getElementById(`ProtocolRow-${this.selected}`);
    previous?.setAttribute("aria-selected", "false");
    this.selected = line.dataset.id;
    this.selectedIndex = index;
    line.setAttribute("aria-selected", "true");
    this.table.setAttribute("aria-activedescendant", line.id);
    line.scrollIntoView({ block: "nearest" });
  }

  // The arrow keys, Home and End move the selection.
  Key(event) {
    if (this.rowCount === 0) return;
    const at = this.selectedIndex;
    const to = { ArrowUp: at - 1, ArrowDown: at + 1, Home: 0, End: this.rowCount - 1 }[event.key];
    if (to === undefined) return;
    event.preventDefault();
    this.SelectAt(to);
  }
}
