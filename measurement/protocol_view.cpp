// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_view.h"

#include "measurement/protocol_texts.h"

namespace varek {

ProtocolView ViewOf(const ProtocolTable& table) {
  ProtocolView view;
  view.values = ValuesOf(table);
  view.marks = OutlierMarks(view.values);
  view.titles = TableColumnTitles();
  for (std::size_t i = 0; i < table.size(); ++i) {
    view.rows.push_back({table[i].id, TableRowCells(static_cast<int>(i) + 1, view.values[i]),
                         view.marks[i].marked});
  }
  const std::optional<SeriesResult> result = EvaluateSeries(view.values);
  view.result = ResultText(result);
  view.deviation = DeviationText(result);
  view.warnings = WarningLines(view.values, view.marks);
  return view;
}

PlotPlan PlanPlot(const ProtocolView& view, double width, double height, double text_size) {
  return PlanPlot(view.values, view.marks, width, height, text_size);
}

}  // namespace varek
