// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_plot_view.h"

#include <QPainter>

#include "app/protocol/plot_painter.h"

namespace varek {

namespace {
constexpr double TextSize = 13;  // px of the form, as the window's other texts
}  // namespace

ProtocolPlotView::ProtocolPlotView(QWidget* parent) : QWidget(parent) {}

void ProtocolPlotView::SetView(const ProtocolView& view) {
  values_ = view.values;
  marks_ = view.marks;
  fit_ = view.fit;
  update();
}

PlotPlan ProtocolPlotView::Plan() const {
  return PlanPlot(values_, marks_, fit_, width(), height(), TextSize);
}

void ProtocolPlotView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  PaintPlotPlan(painter, Plan(), rect());
}

}  // namespace varek
