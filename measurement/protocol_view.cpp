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
  std::vector<Measurement> counted;
  std::vector<std::size_t> outliers, by_hand;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const bool included = Included(view.values[i], view.marks[i]);
    view.rows.push_back({table[i].id, TableRowCells(static_cast<int>(i) + 1, view.values[i]),
                         view.marks[i].marked, included});
    if (included) {
      counted.push_back(view.values[i]);
    } else {
      (view.values[i].inclusion == Inclusion::Out ? by_hand : outliers).push_back(i + 1);
    }
  }
  const std::optional<SeriesResult> result = EvaluateSeries(counted);
  view.result = table.empty() || result ? ResultText(result) : NothingIncludedText();
  view.deviation = DeviationText(result);
  view.left_out = LeftOutText(outliers, by_hand);
  view.warnings = WarningLines(view.values, view.marks);
  return view;
}

std::string ProtocolView::Summary() const {
  std::string text = result;
  for (const std::string* line : {&deviation, &left_out}) {
    if (!line->empty()) text += '\n' + *line;
  }
  return text;
}

PlotPlan PlanPlot(const ProtocolView& view, double width, double height, double text_size) {
  return PlanPlot(view.values, view.marks, width, height, text_size);
}

}  // namespace varek
