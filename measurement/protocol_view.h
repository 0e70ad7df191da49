// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the protocol shows for a table, as plain values and texts: the front
// ends put them into their widgets (the window's table and labels, the
// page's elements) and draw the plot's plan, nothing more.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "measurement/plot_plan.h"
#include "measurement/protocol_checks.h"
#include "measurement/protocol_table.h"

namespace varek {

struct ProtocolViewRow {
  std::string id;
  // In the order of ProtocolView::titles; written when first asked for
  // (ProtocolView::Cells): a front end shows the rows in sight only.
  mutable std::vector<std::string> cells;
  bool outlier = false;  // to be marked in the table
  bool included = true;  // counts in the result ("in Auswertung")
};

struct ProtocolView {
  std::vector<std::string> titles;
  std::vector<ProtocolViewRow> rows;
  std::string result;                 // never empty: "e/m = (…) · 10¹¹ C/kg" or a hint
  std::string deviation;              // from the literature value; empty without rows
  std::string left_out;               // the rows the result leaves out, or empty
  std::vector<std::string> warnings;  // at most three lines
  std::vector<OutlierMark> marks;     // one a row, for the plot
  std::vector<Measurement> values;    // the rows' values, for the plot and the files
  std::optional<SeriesResult> fit;    // through the rows that count: the result, the plot's line
  // The result, the deviation and the rows left out, a line each.
  std::string Summary() const;
  // The cells of the row `index` (from 0).
  const std::vector<std::string>& Cells(std::size_t index) const;
};

// With `previous`, the view of the table before a change: the cells of
// rows with the same identity and values are taken over (renumbered).
ProtocolView ViewOf(const ProtocolTable& table, ProtocolView previous = {});

// The plot of a view for a frame of width × height units.
PlotPlan PlanPlot(const ProtocolView& view, double width, double height, double text_size = 13);

}  // namespace varek
