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
    this.store = new ProtocolStore(core, this.texts, () => this.Apply(0), () => this.Prepare());
    this.rows = new ProtocolTableView(this.form.ProtocolTable, core, this.texts.captions);
    this.plot = new PlotView(this.form.ProtocolPlot, (width, height) => core.plotDrawing(width, height));
    this.printed = new ProtocolPrint(core, this.texts, this.apparatus);
    // Before the first change: otherwise its code is compiled and optimised while it runs.
    this.plot.rehearse((width, height) => core.rehearse(width, height));
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
      if (row && this.rows) this.rows.Select(row);
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
    table.addEventListener("keydown", (event) => this.rows?.Key(event));
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
    if (await this.Run(action)) this.rows.SelectAt(this.rows.rowCount - 1);
  }

  // The row at the deleted one's place is selected then.
  async DeleteSelected() {
    const { selected, selectedIndex } = this.rows;
    if (selected === null) return;
    if (await this.Run(this.core.remove(selected))) this.rows.SelectAt(selectedIndex);
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

  // While the store writes a step's rows: their view and the picture of
  // their plot made, to be shown at once if they are stored.
  Prepare() {
    this.core.prepare();
    this.plot.prepare((width, height) => this.core.preparedPlotDrawing(width, height));
  }

  // A change through the store; then the table as stored now is shown, with
  // the changes that could not be stored yet, which are tried again.
  async Apply(change) {
    const { message, problem, ok, unsaved, changed, keptAs, canUndo, prepared } = await this.store.apply(change);
    this.plot.adopt(prepared);
    this.Refresh();
    this.form.ProtocolUndo.disabled = !canUndo;
    if (problem) this.Report(false, problem, keptAs);
    else if (message) this.Report(ok, message);
    else if (changed && change === 0) this.Report(true, "");  // about a table another tab has changed since
    clearTimeout(this.retry);
    if (unsaved) this.retry = setTimeout(() => this.Apply(0), this.texts.retryMs);
    // What the next change starts from, once this one is shown (a copy of
    // every row): made by that change itself if it comes first. Asked for
    // once the frame with this change is drawn: an idle moment before that
    // frame would put the copy's milliseconds in front of it.
    const fill = () => this.core.fillCopy();
    requestAnimationFrame(() => setTimeout(() => ("requestIdleCallback" in window ? requestIdleCallback(fill) : fill()), 0));
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

  SavePlotSvg() {
    const { width, height, textSize } = this.texts.plotExport;
    const svg = plotPlanSvg(this.core.plot(width, height, textSize), this.texts.captions.plotName);
    this.download(new Blob([svg], { type: "image/svg+xml" }), this.fileName("svg"), this.texts.captions.savedPlot);
  }

  SavePlotPng() {
    const { width, height, textSize, pngScale: scale } = this.texts.plotExport;
    const plan = this.core.plotDrawing(width, height, textSize);
    const canvas = document.createElement("canvas");
    canvas.width = plan.width * scale;
    canvas.height = plan.height * scale;
    drawPlotPlan(canvas.getContext("2d", PLOT_CONTEXT), plan, scale);
    canvas.toBlob((png) => this.download(png, this.fileName("png"), this.texts.captions.savedPlot), "image/png");
  }

  // The core's view of the stored table in the panel, the plot and the
  // printed page: the rows in sight, the result, the warnings.
  Refresh() {
    const f = this.form;
    const head = this.core.viewHead();
    this.rows.Update(head);
    this.Write(f.ProtocolResult, head.summary);
    this.Write(f.ProtocolWarnings, head.warnings.join("\n"));
    f.ProtocolDelete.disabled = head.rowCount === 0;
    f.ProtocolClear.disabled = head.rowCount === 0;
    this.plot.drawSoon();
    this.printed.update();
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
