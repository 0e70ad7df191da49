// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws a plot plan (measurement/plot_plan.h) with a QPainter: on the
// screen, into the PNG, the SVG and the PDF page. Everything the plot shows
// comes from the plan; this only turns it into painter calls.
#pragma once

#include <QRectF>

#include "measurement/plot_plan.h"

class QPainter;

namespace varek {

// The plan's frame scaled uniformly into `area` (top left aligned).
void PaintPlotPlan(QPainter& painter, const PlotPlan& plan, const QRectF& area);

}  // namespace varek
