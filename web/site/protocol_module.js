// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The measurement protocol's core (varek_protocol.wasm, made from
// web/protocol/bridge.cpp over measurement/): the checks, the table and its
// changes, the store's steps, the view, the plot's plan and every text.
// Strings go in as their UTF-8 bytes with the length (so that a NUL in a
// stored text reaches the core), a file's bytes (Uint8Array) as they are, for
// the core to decode as the desktop does; numbers as they are; answers are JSON.

class ProtocolModule {
  constructor(module) { this.m = module; }

  // The module, loaded once.
  static load() {
    ProtocolModule.loading ??= new Promise((resolve, reject) => {
      // The single-file edition has the module in the page already.
      if (typeof createVarekProtocol === "function") return resolve(createVarekProtocol());
      const script = document.createElement("script");
      script.src = "varek_protocol.js";
      script.onload = () => resolve(createVarekProtocol());
      script.onerror = () => reject(new Error("varek_protocol.js fehlt"));
      document.head.append(script);
    }).then((module) => new ProtocolModule(module));
    return ProtocolModule.loading;
  }

  call(name, ...args) {
    const pointers = [];
    try {
      const values = [];
      for (const arg of args) {
        if (arg instanceof Uint8Array) {
          const pointer = this.m._malloc(arg.length + 1);
          pointers.push(pointer);
          this.m.HEAPU8.set(arg, pointer);
          values.push(pointer, arg.length);
          continue;
        }
        if (typeof arg !== "string") {
          values.push(arg);
          continue;
        }
        const length = this.m.lengthBytesUTF8(arg);
        const pointer = this.m._malloc(length + 1);
        pointers.push(pointer);
        this.m.stringToUTF8(arg, pointer, length + 1);
        values.push(pointer, length);
      }
      return JSON.parse(this.m.UTF8ToString(this.m[`_varek_protocol_${name}`](...values)));
    } finally {
      for (const pointer of pointers) this.m._free(pointer);
    }
  }

  // The fixed texts and numbers; seeds the rows' identities.
  start(seed) { return this.call("start", seed[0], seed[1]); }
  // reading: the window's settings (current in mA, the choices deflection and
  // mode as true or false) with order, uncertainty (ΔI in mA),
  // informationShown, dataShown and screenHit (a mark on the screen), taken
  // at the moment `now` (milliseconds, performance.now()).
  record(r, now) {
    return this.call("record", r.voltage, r.current, r.amplitude, Number(r.deflection), Number(r.mode),
                     r.order, r.uncertainty, Number(r.informationShown), Number(r.dataShown),
                     Number(r.screenHit ?? true), now);
  }
  // A value typed into a scroll bar's field: {position} or {refusal}.
  typedValue(text, bar) {
    return this.call("typed_value", text, bar.minimum, bar.maximum, bar.perUnit, bar.sign, bar.unit);
  }
  // "in Auswertung" of the row checked or not.
  include(id, included) { return this.call("include", id, Number(included)); }
  // Each action gives {change, refusal, question, answers: [[caption, answer], ...]}.
  remove(id) { return this.call("delete", id); }
  clear() { return this.call("clear"); }
  undo() { return this.call("undo"); }
  // Why a chosen file is not read: its size, or the browser could not read it.
  fileRefusal(name, size, readable = true) { return this.call("file_refusal", name, size, Number(readable)).refusal; }
  // bytes: the file as read (Uint8Array).
  importCsv(bytes, name) { return this.call("import", bytes, name); }
  // The answer (a number of the core's answers) to the question of an action: the change to apply, or 0.
  decide(change, answer) { return this.call("decide", change, answer).change; }
  drop(change) { this.m._varek_protocol_drop(change); }
  // The change applied to the stored text (unchanged: the text this tab's
  // last step left, not passed again); rowsWritten: the stored count of
  // rows, -1 when there is none. {write, headLines, tailLines, rows,
  // keepAside, repaired, notKeptAside}; when it writes, `texts(whole)`
  // gives the lines between the headLines and tailLines that stay (whole:
  // the whole text) as two texts, the first line and the others, and
  // `stored()` the stored text (to be kept aside).
  step(stored, change, keptAs, { unchanged = false, rowsWritten = -1 } = {}) {
    const answer = this.call("step", unchanged ? "" : stored, Number(unchanged), change, keptAs, rowsWritten);
    // The store's rows are plain ASCII, its first line (the titles) is not:
    // read apart, the browser keeps the rows' text a byte a character (not
    // two), and so it writes half as many bytes to its storage.
    answer.texts = (whole = false) => {
      const at = this.m._varek_protocol_step_text(whole);
      const bytes = this.m.HEAPU8.subarray(at, at + this.m._varek_protocol_step_text_length(whole));
      const firstLine = bytes.indexOf(10) + 1 || bytes.length;
      return [ProtocolModule.decoder.decode(bytes.subarray(0, firstLine)),
              ProtocolModule.decoder.decode(bytes.subarray(firstLine))];
    };
    answer.stored = () => this.text(this.m._varek_protocol_stored_text(), this.m._varek_protocol_stored_text_length());
    return answer;
  }
  // A megabyte at 20,000 rows: decoded by its length, not searched for its end byte by byte.
  text(pointer, length) { return ProtocolModule.decoder.decode(this.m.HEAPU8.subarray(pointer, pointer + length)); }
  // stored: one of the numbers below; refused: the browser gives the page no storage.
  commit(stored, refused = false) { return this.call("commit", stored, Number(refused)); }
  // While the store writes the step's rows: their view made, shown by
  // commit() once they are stored, and the plan of its plot to draw (as
  // plotDrawing) with preparedPlotDrawing.
  prepare() { this.m._varek_protocol_prepare(); }
  preparedPlotDrawing(width, height) {
    return this.withMarks(this.call("prepared_plot_drawing", width, height));
  }
  // The copy of the store that the next step starts from, made while the page is idle.
  fillCopy() { this.m._varek_protocol_fill_copy(); }
  // The view with every row, as the printed page shows it.
  view() { return this.call("view"); }
  // The view without its rows, with rowCount: after each change.
  viewHead() { return this.call("view_head"); }
  // The rows first .. first + count - 1 of the view.
  viewRows(first, count) { return this.call("view_rows", first, count); }
  // The place (from 0) of the row `id` in the shown table, or -1.
  rowIndex(id) { return this.call("row_index", id).index; }
  // The plot's plan (textSize 0: the screen's), every mark an object: for the SVG file.
  plot(width, height, textSize = 0) { return this.call("plot", width, height, textSize); }
  // The same plan to draw: its marks and lines as numbers in markNumbers
  // and lineNumbers (PLOT_MARK_NUMBERS a mark, PLOT_LINE_NUMBERS a line,
  // protocol_plot.js), read in the core's memory, not copied: to be drawn
  // (with `pixels`, the core's PlotPixels) before the core is called again.
  plotDrawing(width, height, textSize = 0) { return this.withMarks(this.call("plot_drawing", width, height, textSize)); }
  // Rehearses the changes on a table of its own (nothing of the page's
  // changes): the plan of its plot to draw, as plotDrawing.
  rehearse(width, height) { return this.withMarks(this.call("rehearse", width, height)); }
  withMarks(plan) {
    const marks = this.m._varek_protocol_plot_marks() / Float64Array.BYTES_PER_ELEMENT;
    plan.markNumbers = this.m.HEAPF64.subarray(marks, marks + plan.markCount * PLOT_MARK_NUMBERS);
    const lines = this.m._varek_protocol_plot_lines() / Float64Array.BYTES_PER_ELEMENT;
    plan.lineNumbers = this.m.HEAPF64.subarray(lines, lines + plan.lineCount * PLOT_LINE_NUMBERS);
    plan.pixels = this.pixels ??= new PlotPixels(this.m);
    return plan;
  }
  exportCsv() { return this.call("export").csv; }
  keptAsideKey(n) { return this.call("kept_aside_key", n).key; }
  // The message for a table an older page stored (text) and kept aside under keptAs.
  olderPageKeptAside(text, keptAs) {
    return this.call("older_page_kept_aside", text, keptAs).text;
  }
  dateLine(d) {
    return this.call("date_line", d.getFullYear(), d.getMonth() + 1, d.getDate(), d.getHours(), d.getMinutes()).text;
  }
  saved(what, file) { return this.call("saved", what, file).text; }
}

ProtocolModule.decoder = new TextDecoder();

// What varek_protocol_commit is told about the last step.
ProtocolModule.NOTHING_STORED = 0;
ProtocolModule.STORED = 1;
ProtocolModule.READ_ONLY = 2;
