// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The protocol on paper, as the desktop's PDF page has it: the heading, the
// date, the apparatus and the method, the table (outliers marked), the
// legend of the amplitude column, the result, its deviation, the rows left
// out of it and the warnings, then the plot as vectors from the plan of the exported plot.
// Only this is printed (form1.css, @media print); the date is the moment of
// printing. Every text comes from the core, the apparatus's data from the
// window's description (its data page).
class ProtocolPrint {
  constructor(core, texts, apparatus) {
    this.core = core;
    this.texts = texts;
    this.apparatus = apparatus;
    this.section = document.createElement("section");
    this.section.id = "ProtocolPrinted";
    this.section.setAttribute("aria-hidden", "true");
    document.body.append(this.section);
    this.plot = document.createElement("div");
    this.plot.className = "plot";
    this.date = document.createElement("p");
    this.date.className = "date";
    // Chromium's own PDF writer announces itself only as print media.
    window.addEventListener("beforeprint", () => this.Prepare());
    window.matchMedia("print").addEventListener("change", (event) => { if (event.matches) this.Prepare(); });
  }

  // The protocol with the date and the plot, which nobody sees until the page is printed.
  Prepare() {
    const { captions, plotExport } = this.texts;
    if (this.changed) this.build(this.core.view());
    this.changed = false;
    this.date.textContent = this.core.dateLine(new Date());
    this.plot.innerHTML = plotPlanSvg(this.core.plot(plotExport.width, plotExport.height, plotExport.textSize),
                                      captions.plotName);
  }

  // The table changed: its view (protocol_module.js's view(), every row)
  // is laid out when the page is printed.
  update() { this.changed = true; }

  build(view) {
    const { captions } = this.texts;
    const element = (tag, text, className) => {
      const e = document.createElement(tag);
      if (text !== undefined) e.textContent = text;
      if (className) e.className = className;
      return e;
    };
    const table = element("table");
    const head = table.createTHead().insertRow();
    for (const title of view.titles) head.append(element("th", title));
    const body = table.createTBody();
    for (const row of view.rows) {
      const line = body.insertRow();
      if (row.outlier) line.className = "outlier";
      for (const cell of row.cells) line.append(element("td", cell));
    }
    this.plot.replaceChildren();
    this.section.replaceChildren(
        element("h1", captions.pdfHeading), this.date,
        element("p", this.apparatus, "small"), element("p", captions.pdfMethod, "small method"),
        table, element("p", captions.deflectionLegend, "legend"), element("p", view.result, "result"),
        ...[view.deviation, view.leftOut].filter(Boolean).map((line) => element("p", line, "deviation")),
        ...view.warnings.map((warning) => element("p", warning, "warning")), this.plot);
  }
}
