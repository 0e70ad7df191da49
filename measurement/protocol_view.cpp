// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_view.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>

#include "measurement/protocol_texts.h"

namespace varek {

namespace {

// The rows of a previous view by identity: the next row is the one after
// the last found, or one of the few after it (a deletion skips one), or a
// row put in before it (a deletion undone); only where a change moved rows
// further are they looked up by identity. A row not taken is only shown
// anew (its cells made when asked for).
class PreviousRows {
 public:
  explicit PreviousRows(ProtocolView& view) : view_(view) {}
  // The row `id` of the previous view if it had `values`, taken (its
  // cells and identity kept), or none; `following`: the identity of the
  // table's row after it (empty for the last).
  std::optional<ProtocolViewRow> Take(const std::string& id, std::string_view following,
                                      const Measurement& values) {
    const std::size_t size = view_.rows.size();
    const std::size_t near = std::min(size, next_ + NearRows);
    std::size_t at = next_;
    while (at < near && view_.rows[at].id != id) ++at;
    if (at == near) {
      // Added at the end, or put in before the row expected next.
      if (next_ >= size || view_.rows[next_].id == following) return std::nullopt;
      if (index_.empty()) {
        for (std::size_t i = 0; i < size; ++i) index_.emplace(view_.rows[i].id, i);
      }
      const auto found = index_.find(id);
      if (found == index_.end()) return std::nullopt;
      at = found->second;
    }
    next_ = at + 1;
    if (!(view_.values[at] == values)) return std::nullopt;
    return std::move(view_.rows[at]);
  }

 private:
  static constexpr std::size_t NearRows = 4;
  ProtocolView& view_;
  std::size_t next_ = 0;
  std::unordered_map<std::string_view, std::size_t> index_;
};

}  // namespace

ProtocolView ViewOf(const ProtocolTable& table, ProtocolView previous) {
  PreviousRows previous_rows(previous);
  ProtocolView view;
  view.values = ValuesOf(table);
  view.marks = OutlierMarks(view.values);
  view.titles = TableColumnTitles();
  // The rows that count, made once one is left out: until then every row counts.
  std::vector<Measurement> counted;
  bool all_count = true;
  view.rows.reserve(table.size());
  std::vector<std::size_t> outliers, by_hand;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const bool included = Included(view.values[i], view.marks[i]);
    const std::string_view following = i + 1 < table.size() ? table[i + 1].id : std::string_view();
    std::optional<ProtocolViewRow> row = previous_rows.Take(table[i].id, following, view.values[i]);
    if (!row) {
      row = ProtocolViewRow{.id = table[i].id, .cells = {}};
    } else if (!row->cells.empty()) {
      row->cells.front() = std::to_string(i + 1);
    }
    row->outlier = view.marks[i].marked;
    row->included = included;
    view.rows.push_back(std::move(*row));
    if (included) {
      if (!all_count) counted.push_back(view.values[i]);
    } else {
      if (all_count) {
        counted.assign(view.values.begin(), view.values.begin() + static_cast<std::ptrdiff_t>(i));
      }
      all_count = false;
      (view.values[i].inclusion == Inclusion::Out ? by_hand : outliers).push_back(i + 1);
    }
  }
  view.fit = EvaluateSeries(all_count ? std::span<const Measurement>(view.values)
                                      : std::span<const Measurement>(counted));
  view.result = table.empty() || view.fit ? ResultText(view.fit) : NothingIncludedText();
  view.deviation = DeviationText(view.fit);
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

const std::vector<std::string>& ProtocolView::Cells(std::size_t index) const {
  std::vector<std::string>& cells = rows[index].cells;
  if (cells.empty()) cells = TableRowCells(static_cast<int>(index) + 1, values[index]);
  return cells;
}

PlotPlan PlanPlot(const ProtocolView& view, double width, double height, double text_size) {
  return PlanPlot(view.values, view.marks, view.fit, width, height, text_size);
}

}  // namespace varek
