// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_plot_view.h"

#include <QPainter>

#include "app/protocol/protocol_plot.h"

namespace varek {

ProtocolPlotView::ProtocolPlotView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(320, 200);
  setAccessibleName(QStringLiteral("Diagramm I² über k²·U mit Ausgleichsgerade"));
}

void ProtocolPlotView::SetSeries(std::vector<Measurement> rows, std::optional<SeriesResult> result) {
  rows_ = std::move(rows);
  result_ = result;
  update();
}

void ProtocolPlotView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  PaintProtocolPlot(painter, rect(), rows_, result_);
}

}  // namespace varek
