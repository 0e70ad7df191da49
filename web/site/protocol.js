// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// "Messprotokoll": the panel right of the window's right column, built from
// the description's rows like every control; this puts the core's view into
// it and forwards what the user does. The core (protocol_module.js) checks
// each reading, makes each change, words each message and plans the plot;
// the store (protocol_store.js) applies the changes under a lock shared
// with the page's other tabs.

// Whether a key event is the description's shortcut ("Ctrl+M", "Ctrl+Return").
function isShortcut(event, shortcut) {
  if (!shortcut) return false;
  const parts = shortcut.split("+");
  const key = parts.pop();
  const wanted = { Ctrl: false, Shift: false, Alt: false };
  for (const modifier of parts) wanted[modifier] = true;
  if (event.ctrlKey !== wanted.Ctrl || event.shiftKey !== wanted.Shift || event.altKey !== wanted.Alt) return false;
  return key === "Return" ? event.key === "Enter" : (event.key ?? "").toLowerCase() === key.toLowerCase();
}

// Whether a key goes to a field that edits text (where Ctrl+Z undoes typing).
function isTextField(element) {
  return element instanceof HTMLTextAreaElement || element?.isContentEditable ||
         (element instanceof HTMLInputElement && !["checkbox", "radio", "button", "submit", "file"].includes(element.type));
}

class Protocol {
  // form: the main window; description: the window's description.
  constructor(form, description) {
    this.form = form;
    this.loading = description.protocolLoad;
    this.apparatus = description.apparatus;
    this.shortcuts = Object.fromEntries(description.controls.filter((row) => row.shortcut)
                                            .map((row) => [row.name, row.shortcut]));
    this.selected = null;  // the identity of the selected row
    this.fileInput = document.createElement("input");
    Object.assign(this.fileInput, { type: "file", accept: ".csv,text/csv", hidden: true });
    this.fileInput.id = "ProtocolImportFile";
    form.Protocol.append(this.fileInput);
    this.ready = null;  // the core's start, once it is asked for
    form.ProtocolUndo.disabled = true;  // nothing deleted yet
    this.attachHandlers();
  }

  // The core is fetched when the panel is first opened or used, or earlier
  // when the page has nothing else to do (form1.js); not before the first picture.
  Load() {
    if (!this.ready) {
      this.ready = ProtocolModule.load().then((core) => this.Start(core));
      this.ready.catch((error) => this.form.addNotice(`Das Messprotokoll kann nicht laden: ${error.message}`));
    }
    return this.ready;
  }

  // Loads the core a few seconds after the first picture, when the browser is
  // idle: its start would otherwise delay the pictures of the first changes.
  LoadWhenIdle() {
    if (this.ready || this.loadQueued) return;
    this.loadQueued = true;
    const load = () => this.Load();
    const { afterMs, idleAtMostMs } = this.loading;
    setTimeout(() => ("requestIdleCallback" in window ? requestIdleCallback(load, { timeout: idleAtMostMs }) : load()),
               afterMs);
  }

  async Start(core) {
    this.core = core;
    this.texts = core.start(crypto.getRandomValues(new Uint32Array(2)));
    this.store = new ProtocolStore(core, this.texts, () => this.Apply(0));
    this.plot = new PlotView(this.form.ProtocolPlot, (width, height) => core.plot(width, height));
    this.printed = new ProtocolPrint(core, this.texts, this.apparatus);
    await this.Apply(0);
  }

  attachHandlers() {
    const f = this.form;
    const on = (name, action) => f[name].addEventListener("click", () => this.whenReady(action));
    f.ProtocolButton.addEventListener("click", () => this.Show(f.Protocol.hidden));
    // The reading is the window's state when the button is pressed, also
    // where the core is not there yet.
    f.ProtocolRecord.addEventListener("click", () => this.RecordNow());
    on("ProtocolDelete", () => this.DeleteSelected());
    on("ProtocolClear", () => this.AskAndClear());
    on("ProtocolUndo", () => this.Undo());
    on("ProtocolImport", () => this.fileInput.click());
    on("ProtocolExport", () => this.ExportCsv());
    on("ProtocolPng", () => this.SavePlotPng());
    on("ProtocolSvg", () => this.SavePlotSvg());
    f.ProtocolPrint.addEventListener("click", () => window.print());
    this.fileInput.addEventListener("change", () => this.whenReady(() => this.Import()));
    document.addEventListener("keydown", (event) => {
      if (event.defaultPrevented || f.ended || document.querySelector("dialog[open]")) return;
      if (isShortcut(event, this.shortcuts.ProtocolButton)) {
        event.preventDefault();
        if (!f.ProtocolButton.closest("[inert]")) this.Show(f.Protocol.hidden);
      } else if (isShortcut(event, this.shortcuts.ProtocolRecord)) {
        // From anywhere in the window; the core refuses while a page covers it.
        event.preventDefault();
        if (f.Panel4.hidden) this.Show(true);
        this.RecordNow();
      } else if (isShortcut(event, this.shortcuts.ProtocolUndo) && !isTextField(event.target)) {
        // In a field the key undoes the typing; under the information page nothing.
        event.preventDefault();
        if (f.Panel4.hidden && !f.ProtocolUndo.disabled) {
          this.Show(true);
          this.whenReady(() => this.Undo());
        }
      }
    });
    // A reading refused because a page covered the window is no longer refused once it is closed.
    const uncovered = new MutationObserver(() => {
      if (this.refusalShown && f.Panel4.hidden && f.Panel10.hidden) this.Report(true, "");
    });
    for (const page of [f.Panel4, f.Panel10]) uncovered.observe(page, { attributeFilter: ["hidden"] });
    const table = f.ProtocolTable;
    table.addEventListener("click", (event) => {
      const row = event.target.closest("tbody tr");
      if (row) this.Select(row.dataset.id);
    });
    // The check box "in Auswertung" in the first cell of a row.
    table.addEventListener("change", (event) => {
      const row = event.target.closest("tbody tr");
      if (row && event.target.type === "checkbox") {
        // Not changed (the row is gone, nothing stored): the box shows what is.
        this.whenReady(async () => {
          if (!(await this.Run(this.core.include(row.dataset.id, event.target.checked)))) this.Refresh();
        });
      }
    });
    table.addEventListener("keydown", (event) => {
      const rows = [...table.tBodies[0].rows];
      if (rows.length === 0) return;
      const at = rows.findIndex((row) => row.dataset.id === this.selected);
      const to = { ArrowUp: at - 1, ArrowDown: at + 1, Home: 0, End: rows.length - 1 }[event.key];
      if (to === undefined) return;
      event.preventDefault();
      this.Select(rows[Math.min(rows.length - 1, Math.max(0, to))].dataset.id);
    });
  }

  // Runs an action once the core is there; a failed load was told already.
  whenReady(action) { this.Load().then(action, () => {}); }

  Show(shown) {
    const f = this.form;
    if (shown) this.Load();
    f.Protocol.hidden = !shown;
    f.ProtocolReadings.hidden = !shown;
    f.ProtocolButton.setAttribute("aria-expanded", String(shown));
    // Whether a text scrolls is known once it is seen.
    for (const text of [f.ProtocolStatus, f.ProtocolResult, f.ProtocolWarnings]) this.Write(text, text.textContent);
  }

  Reading() {
    const s = this.form.Settings();
    const whole = (input) => {
      const value = Number(input.value);
      return Number.isInteger(value) ? value : -1;
    };
    return { ...s, order: whole(this.form.ProtocolOrder), uncertainty: whole(this.form.ProtocolUncertainty),
             informationShown: !this.form.Panel4.hidden, dataShown: !this.form.Panel10.hidden,
             screenHit: this.form.screenHit };
  }

  RecordNow() {
    const [reading, now] = [this.Reading(), performance.now()];
    this.whenReady(() => this.Record(reading, now));
  }

  // The reading taken at `now` (performance.now()).
  async Record(reading, now) {
    const action = this.core.record(reading, now);
    if (action.refusal) {
      this.Report(false, action.refusal);
      this.refusalShown = true;
      // Where the protocol cannot be seen, the refusal must be.
      if (this.form.Protocol.hidden || this.form.Protocol.inert) this.form.addNotice(action.refusal);
    }
    if (!(await this.Run(action))) return;
    const rows = this.form.ProtocolTable.tBodies[0].rows;
    if (rows.length > 0) this.Select(rows[rows.length - 1].dataset.id);
  }

  // The row at the deleted one's place is selected then.
  async DeleteSelected() {
    if (this.selected === null) return;
    const rows = this.form.ProtocolTable.tBodies[0].rows;
    const at = [...rows].findIndex((row) => row.dataset.id === this.selected);
    if (!(await this.Run(this.core.remove(this.selected)))) return;
    if (rows.length > 0) this.Select(rows[Math.min(at, rows.length - 1)].dataset.id);
  }

  async AskAndClear() { await this.Run(this.core.clear()); }

  async Undo() { await this.Run(this.core.undo()); }

  // The file is refused by its size before it is read.
  async Import() {
    const file = this.fileInput.files[0];
    this.fileInput.value = "";
    if (!file) return;
    const tooLarge = this.core.fileRefusal(file.name, file.size);
    if (tooLarge) return this.Report(false, tooLarge);
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch {
      return this.Report(false, this.core.fileRefusal(file.name, file.size, false));
    }
    await this.Run(this.core.importCsv(bytes, file.name));
  }

  // An action of the core: its refusal, or its question and then its
  // change. Whether a change was applied.
  async Run({ change, refusal, question, answers }) {
    if (refusal) this.Report(false, refusal);
    if (!change) return false;
    if (question) {
      const careful = answers[answers.length - 1][1];
      const answer = await askQuestion({ title: this.texts.captions.title, text: question, answers,
                                         cancel: careful, initial: careful });
      change = this.core.decide(change, answer);
      if (!change) return false;
    }
    await this.Apply(change);
    return true;
  }

  // A change through the store; then the table as stored now is shown, with
  // the changes that could not be stored yet, which are tried again.
  async Apply(change) {
    const { message, problem, ok, unsaved, changed, keptAs, canUndo } = await this.store.apply(change);
    this.Refresh();
    this.form.ProtocolUndo.disabled = !canUndo;
    if (problem) this.Report(false, problem, keptAs);
    else if (message) this.Report(ok, message);
    else if (changed && change === 0) this.Report(true, "");  // about a table another tab has changed since
    clearTimeout(this.retry);
    if (unsaved) this.retry = setTimeout(() => this.Apply(0), this.texts.retryMs);
  }

  download(blob, name, what) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    this.Report(true, this.core.saved(what, name));
  }

  fileName(suffix) { return `${this.texts.captions.fileStem}.${suffix}`; }

  ExportCsv() {
    this.download(new Blob([this.core.exportCsv()], { type: "text/csv;charset=utf-8" }), this.fileName("csv"),
                  this.texts.captions.savedTable);
  }

  exportPlan() {
    const { width, height, textSize } = this.texts.plotExport;
    return this.core.plot(width, height, textSize);
  }

  SavePlotSvg() {
    const svg = plotPlanSvg(this.exportPlan(), this.texts.captions.plotName);
    this.download(new Blob([svg], { type: "image/svg+xml" }), this.fileName("svg"), this.texts.captions.savedPlot);
  }

  SavePlotPng() {
    const plan = this.exportPlan();
    const scale = this.texts.plotExport.pngScale;
    const canvas = document.createElement("canvas");
    canvas.width = plan.width * scale;
    canvas.height = plan.height * scale;
    drawPlotPlan(canvas.getContext("2d"), plan, scale);
    canvas.toBlob((png) => this.download(png, this.fileName("png"), this.texts.captions.savedPlot), "image/png");
  }

  Select(id) {
    const table = this.form.ProtocolTable;
    const row = (key) => (key === null ? null : document.getElementById(`ProtocolRow-${key}`));
    row(this.selected)?.setAttribute("aria-selected", "false");
    this.selected = id;
    const chosen = row(id);
    if (!chosen) return;
    chosen.setAttribute("aria-selected", "true");
    table.setAttribute("aria-activedescendant", chosen.id);
    chosen.scrollIntoView({ block: "nearest" });
  }

  // The core's view of the stored table in the panel, the plot and the
  // printed page. Rows are kept by their identity: a reading adds one, a
  // deletion takes one away and renumbers those below.
  Refresh() {
    const f = this.form;
    const view = this.core.view();
    const head = f.ProtocolTable.tHead;
    if (head.rows.length === 0 || head.rows[0].cells.length !== view.titles.length) {
      const line = document.createElement("tr");
      for (const title of view.titles) {
        const cell = document.createElement("th");
        cell.textContent = title;
        cell.scope = "col";
        line.append(cell);
      }
      head.replaceChildren(line);
    }
    const body = f.ProtocolTable.tBodies[0];
    const wanted = new Set(view.rows.map((row) => row.id));
    for (const line of [...body.rows]) {
      if (!wanted.has(line.dataset.id)) line.remove();
    }
    let next = body.firstElementChild;
    for (const row of view.rows) {
      let line = document.getElementById(`ProtocolRow-${row.id}`);
      if (!line || line.parentNode !== body) line = this.newRow(row, view.titles.length);
      this.fillRow(line, row, view.titles[0]);
      if (line === next) next = next.nextElementSibling;
      else body.insertBefore(line, next);
    }
    f.ProtocolTable.removeAttribute("aria-activedescendant");
    if (wanted.has(this.selected)) this.Select(this.selected);
    else this.selected = null;
    this.Write(f.ProtocolResult, view.summary);
    this.Write(f.ProtocolWarnings, view.warnings.join("\n"));
    f.ProtocolDelete.disabled = view.rows.length === 0;
    f.ProtocolClear.disabled = view.rows.length === 0;
    this.plot.drawSoon();
    this.printed.update(view);
  }

  // An empty row of `columns` cells for the view's row, with the check box "in Auswertung".
  newRow(row, columns) {
    const line = document.createElement("tr");
    line.id = `ProtocolRow-${row.id}`;
    line.dataset.id = row.id;
    line.setAttribute("aria-selected", "false");
    for (let c = 0; c < columns; ++c) line.append(document.createElement("td"));
    const included = document.createElement("input");
    Object.assign(included, { type: "checkbox", title: this.texts.captions.inclusionHint });
    line.cells[0].append(included, document.createTextNode(""));
    line.shown = { cells: [], outlier: false, included: null };
    return line;
  }

  // The view's row in `line`, touching only what differs from what it shows.
  fillRow(line, row, numberTitle) {
    const shown = line.shown;
    row.cells.forEach((text, c) => {
      if (shown.cells[c] === text) return;
      if (c === 0) {
        line.cells[0].lastChild.data = text;
        line.cells[0].firstChild.setAttribute("aria-label", `${numberTitle} ${text}: ${this.texts.captions.inclusionHint}`);
      } else {
        line.cells[c].textContent = text;
      }
    });
    shown.cells = row.cells;
    if (shown.outlier !== row.outlier) {
      line.className = row.outlier ? "outlier" : "";
      if (row.outlier) line.title = this.texts.captions.outlierHint;
      else line.removeAttribute("title");
      shown.outlier = row.outlier;
    }
    if (shown.included !== row.included) line.cells[0].firstChild.checked = shown.included = row.included;
  }

  // A text control's new text; one that scrolls can be reached by Tab,
  // which is known once it is laid out (asked before the next picture, so
  // that no change lays out the page again in between).
  Write(element, text) {
    if (element.textContent !== text) element.textContent = text;
    this.unmeasured ??= new Set();
    this.unmeasured.add(element);
    if (this.unmeasured.size > 1) return;
    requestAnimationFrame(() => {
      for (const e of this.unmeasured) {
        if (e.scrollHeight > e.clientHeight) e.tabIndex = 0;
        else e.removeAttribute("tabindex");
      }
      this.unmeasured.clear();
    });
  }

  // keptAs: the key of a store kept aside, offered as a file after the text.
  Report(ok, text, keptAs) {
    const status = this.form.ProtocolStatus;
    this.Write(status, text);
    status.classList.toggle("error", !ok);
    this.refusalShown = false;
    if (keptAs) {
      const link = document.createElement("button");
      link.type = "button";
      link.className = "kept-aside";
      link.textContent = this.texts.captions.keptAsideDownload;
      link.addEventListener("click", async () => {
        const text = await this.store.keptAside(keptAs);
        this.download(new Blob([text ?? ""], { type: "text/csv;charset=utf-8" }), `${keptAs}.csv`,
                      this.texts.captions.savedTable);
      });
      status.append("\n", link);
    }
  }
}
