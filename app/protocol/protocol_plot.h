// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The plot of a series: I^2 over k^2 U with the points and the fitted line
// through the origin. Drawn as vectors into any painter (screen, PNG, SVG,
// PDF), so it stays crisp at every size.
#pragma once

#include <QRectF>
#include <optional>
#include <span>

#include "measurement/evaluation.h"

class QPainter;

namespace varek {

// Draws into `area` of `painter`; the drawing keeps its proportions of text
// to lines at every size and fills the whole area (white background).
void PaintProtocolPlot(QPainter& painter, const QRectF& area, std::span<const Measurement> rows,
                       const std::optional<SeriesResult>& result);

}  // namespace varek
