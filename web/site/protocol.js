// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// "Messprotokoll": the table of recorded focus settings below the window,
// its evaluation, the plot and the CSV file. The evaluation and every text
// of the table come from the measurement module (varek_protocol.wasm), the
// one the desktop's protocol window and varek-auswertung use.
//
// The table is kept as text in the store form "U in V;I in A;k;Amplitude"
// in localStorage and saved at every change, so a reload keeps it.

const PROTOCOL_STORE = "varek-messprotokoll";

// The module's functions with JavaScript strings in and out.
class ProtocolModule {
  constructor(module) { this.m = module; }

  call(name, text, ...numbers) {
    const size = this.m.lengthBytesUTF8(text) + 1;
    const pointer = this.m._malloc(size);
    try {
      this.m.stringToUTF8(text, pointer, size);
      return this.m.UTF8ToString(this.m[`_varek_protocol_${name}`](pointer, ...numbers));
    } finally {
      this.m._free(pointer);
    }
  }

  view(table) { return JSON.parse(this.call("view", table)); }
  record(table, voltage, milliamps, amplitude, order) {
    return this.call("record", table, voltage, milliamps, amplitude, order);
  }
  remove(table, index) { return this.call("delete", table, index); }
  exportCsv(table) { return this.call("export", table); }
  importCsv(text) { return JSON.parse(this.call("import", text)); }
  advice(voltage, amplitude) { return this.m._varek_protocol_advice(voltage, amplitude); }
}

// The module is loaded when the protocol is first opened, not with the page.
let protocolModule = null;
function loadProtocolModule() {
  protocolModule ??= new Promise((resolve, reject) => {
    // The single-file edition has the module in the page already.
    if (typeof createVarekProtocol === "function") return resolve(createVarekProtocol());
    const script = document.createElement("script");
    script.src = "varek_protocol.js";
    script.onload = () => resolve(createVarekProtocol());
    script.onerror = () => reject(new Error("varek_protocol.js fehlt"));
    document.head.append(script);
  }).then((module) => new ProtocolModule(module));
  return protocolModule;
}

class Protocol {
  // form: the main window (its Settings() are what a row records).
  constructor(form) {
    this.form = form;
    this.table = "";
    this.module = null;
    for (const id of ["ProtocolButton", "Protocol", "ProtocolOrder", "ProtocolRecord",
                      "ProtocolAdvice", "ProtocolClear", "ProtocolRows", "ProtocolResult",
                      "ProtocolWarning", "ProtocolPlot", "ProtocolExport", "ProtocolImport",
                      "ProtocolImportFile", "ProtocolStatus"]) {
      this[id] = byId(id);
    }
    this.ProtocolButton.addEventListener("click", () => this.Toggle());
    document.addEventListener("keydown", (e) => {
      if (e.ctrlKey && !e.altKey && !e.shiftKey && e.key.toLowerCase() === "m") {
        e.preventDefault();
        if (!this.ProtocolButton.closest("[inert]") && !this.form.ended) this.Open();
      }
    });
    this.ProtocolRecord.addEventListener("click", () => this.Record());
    this.ProtocolClear.addEventListener("click", () => this.AskAndClear());
    this.ProtocolExport.addEventListener("click", () => this.Export());
    this.ProtocolImport.addEventListener("click", () => this.ProtocolImportFile.click());
    this.ProtocolImportFile.addEventListener("change", () => this.Import());
    this.ProtocolRows.addEventListener("click", (e) => {
      const row = e.target.closest("button[data-row]");
      if (row) this.Change(this.module.remove(this.table, Number(row.dataset.row)));
    });
  }

  async Open() {
    try {
      this.module ??= await loadProtocolModule();
    } catch (error) {
      protocolModule = null;
      this.form.addNotice(`Das Messprotokoll kann nicht laden: ${error.message}`);
      return;
    }
    if (this.Protocol.hidden) {
      this.Protocol.hidden = false;
      this.ProtocolButton.setAttribute("aria-expanded", "true");
      this.Restore();
    }
    this.ProtocolOrder.focus();
  }

  Toggle() {
    if (!this.Protocol.hidden) {
      this.Protocol.hidden = true;
      this.ProtocolButton.setAttribute("aria-expanded", "false");
    } else {
      this.Open();
    }
  }

  // The table stored by the last visit; a store that cannot be read is kept
  // aside under another key and the table starts empty.
  Restore() {
    const stored = localStorage.getItem(PROTOCOL_STORE) ?? "";
    const { error } = this.module.view(stored);
    if (error) {
      localStorage.setItem(`${PROTOCOL_STORE}.defekt`, stored);
      localStorage.removeItem(PROTOCOL_STORE);
      this.table = "";
      this.Status(`Gespeichertes Protokoll nicht lesbar (${error}), beiseitegelegt.`, false);
    } else {
      this.table = stored;
    }
    this.Show();
  }

  Order() {
    const k = Math.round(Number(this.ProtocolOrder.value));
    return Math.min(4, Math.max(1, Number.isFinite(k) ? k : 1));
  }

  Record() {
    const s = this.form.Settings();
    this.ProtocolOrder.value = String(this.Order());
    this.Change(this.module.record(this.table, s.voltage, s.current, s.amplitude, this.Order()));
  }

  AskAndClear() {
    const count = this.module.view(this.table).cells.length;
    if (count === 0) return;
    if (confirm(`Alle ${count} Messwerte löschen? Das lässt sich nicht rückgängig machen.`)) this.Change("");
  }

  // The table changes: it is stored at once, then shown.
  Change(table) {
    this.table = table;
    if (table === "") localStorage.removeItem(PROTOCOL_STORE);
    else localStorage.setItem(PROTOCOL_STORE, table);
    this.Show();
  }

  Export() {
    const csv = this.module.exportCsv(this.table);
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([csv], { type: "text/csv;charset=utf-8" }));
    link.download = "messprotokoll.csv";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    this.Status("Messwerte exportiert als messprotokoll.csv", true);
  }

  async Import() {
    const file = this.ProtocolImportFile.files[0];
    this.ProtocolImportFile.value = "";
    if (!file) return;
    const { table, error } = this.module.importCsv(await file.text());
    if (error) {
      this.Status(`${file.name}, ${error}. Die Tabelle bleibt, wie sie war.`, false);
      return;
    }
    this.Change(table);
    this.Status(`${this.module.view(table).cells.length} Messwerte importiert aus ${file.name}`, true);
  }

  Status(text, ok) {
    this.ProtocolStatus.textContent = text;
    this.ProtocolStatus.classList.toggle("error", !ok);
  }

  // The hint for the settings in force, before they are recorded.
  ShowAdvice() {
    if (!this.module || this.Protocol.hidden) return;
    const s = this.form.Settings();
    this.ProtocolAdvice.textContent = !s.deflectionOn ? "" : [
      "", `Amplitude ${s.amplitude} ist für ${s.voltage} V zu klein.`,
      `Amplitude ${s.amplitude} ist für ${s.voltage} V zu groß.`][this.module.advice(s.voltage, s.amplitude)];
  }

  Show() {
    const view = this.module.view(this.table);
    const head = `<tr>${view.titles.map((t) => `<th scope="col">${t}</th>`).join("")}<th scope="col"><span class="visually-hidden">Zeile löschen</span></th></tr>`;
    const body = view.cells.map((cells, i) => `<tr>${cells.map((c) => `<td>${c}</td>`).join("")}` +
        `<td><button type="button" data-row="${i}" aria-label="Zeile ${i + 1} löschen">Löschen</button></td></tr>`);
    this.ProtocolRows.innerHTML = `<thead>${head}</thead><tbody>${body.join("")}</tbody>`;
    this.ProtocolResult.textContent = view.result;
    this.ProtocolWarning.textContent = view.warning;
    this.ProtocolClear.disabled = view.cells.length === 0;
    drawProtocolPlot(this.ProtocolPlot, view.points, view.slope);
    this.ShowAdvice();
  }
}
