// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The protocol on paper, as the desktop's PDF page has it: the heading, the
// date, the apparatus and the method, the table (outliers marked), the
// legend of the amplitude column, the result, its deviation, the rows left
// out of it and the warnings, then the plot as vectors from the plan of the exported plot.
// Only this is printed (form1.css, @media print); the date is the moment of
// printing. Every text comes from the core.
class ProtocolPrint {
  constructor(core, texts) {
    this.core = core;
    this.texts = texts;
    this.section = document.createElement("section");
    this.section.id = "ProtocolPrinted";
    this.section.setAttribute("aria-hidden", "true");
    document.body.append(this.section);
    window.addEventListener("beforeprint", () => this.update());
  }

  update() {
    const { captions, plotExport } = this.texts;
    const view = this.core.view();
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
    const plot = document.createElement("div");
    plot.className = "plot";
    plot.innerHTML = plotPlanSvg(this.core.plot(plotExport.width, plotExport.height, plotExport.textSize),
                                 captions.plotName);
    this.section.replaceChildren(
        element("h1", captions.pdfHeading), element("p", this.core.dateLine(new Date()), "date"),
        element("p", captions.pdfApparatus, "small"), element("p", captions.pdfMethod, "small method"),
        table, element("p", captions.deflectionLegend, "legend"), element("p", view.result, "result"),
        ...[view.deviation, view.leftOut].filter(Boolean).map((line) => element("p", line, "deviation")),
        ...view.warnings.map((warning) => element("p", warning, "warning")), plot);
  }
}
