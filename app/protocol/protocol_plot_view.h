// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's plot as a widget: the plan for the widget's size, drawn.
#pragma once

#include <QWidget>

#include <optional>
#include <vector>

#include "measurement/protocol_view.h"

namespace varek {

class ProtocolPlotView : public QWidget {
  Q_OBJECT
 public:
  explicit ProtocolPlotView(QWidget* parent);
  // What the plot of `view` shows (its rows' values and marks, not its texts).
  void SetView(const ProtocolView& view);
  // The plan last drawn (or to be drawn) at the widget's size.
  PlotPlan Plan() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<Measurement> values_;
  std::vector<OutlierMark> marks_;
  std::optional<SeriesResult> fit_;
};

}  // namespace varek
