// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_plot.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "measurement/decimal_text.h"

namespace varek {

namespace {

// The plot is laid out in a frame 400 units high, as wide as the area's
// proportions make it; the painter scales it to the area.
constexpr double FrameHeight = 400;
constexpr double MarginLeft = 70, MarginRight = 20, MarginTop = 20, MarginBottom = 56;
constexpr double TextSize = 13;       // frame units
constexpr double PointRadius = 4.5;
constexpr int TargetTicks = 5;

// A round step (1, 2 or 5 times a power of ten) that divides 0..highest into
// about TargetTicks parts.
double TickStep(double highest) {
  const double raw = highest / TargetTicks;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= raw) return factor * power;
  }
  return 10 * power;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Tick labels with as many decimals as the step needs.
QString TickText(double value, double step) {
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
  return Text(FixedText(value, decimals));
}

}  // namespace

void PaintProtocolPlot(QPainter& painter, const QRectF& area, std::span<const Measurement> rows,
                       const std::optional<SeriesResult>& result) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const double width = FrameHeight * area.width() / std::max(1.0, area.height());
  painter.translate(area.topLeft());
  painter.scale(area.height() / FrameHeight, area.height() / FrameHeight);
  painter.fillRect(QRectF(0, 0, width, FrameHeight), Qt::white);

  double highest_x = 0, highest_y = 0;
  for (const Measurement& row : rows) {
    highest_x = std::max(highest_x, row.order * row.order * row.voltage);
    highest_y = std::max(highest_y, row.current * row.current);
  }
  // Empty axes before the first row: the ranges of the window's controls.
  if (highest_x <= 0) highest_x = 2000;
  if (highest_y <= 0) highest_y = 3;
  const double step_x = TickStep(highest_x * 1.05), step_y = TickStep(highest_y * 1.05);
  const double end_x = std::ceil(highest_x * 1.05 / step_x) * step_x;
  const double end_y = std::ceil(highest_y * 1.05 / step_y) * step_y;

  const QRectF plot(MarginLeft, MarginTop, width - MarginLeft - MarginRight,
                    FrameHeight - MarginTop - MarginBottom);
  auto at = [&](double x, double y) {
    return QPointF(plot.left() + x / end_x * plot.width(), plot.bottom() - y / end_y * plot.height());
  };

  QFont font = painter.font();
  font.setFamily(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(static_cast<int>(TextSize));
  font.setBold(false);
  painter.setFont(font);
  const QColor grid(220, 220, 220), axes(0, 0, 0);

  for (double x = 0; x <= end_x + step_x / 2; x += step_x) {
    painter.setPen(QPen(grid, 1));
    painter.drawLine(at(x, 0), at(x, end_y));
    painter.setPen(axes);
    const QPointF p = at(x, 0);
    painter.drawText(QRectF(p.x() - 40, p.y() + 4, 80, TextSize + 4), Qt::AlignHCenter | Qt::AlignTop,
                     TickText(x, step_x));
  }
  for (double y = 0; y <= end_y + step_y / 2; y += step_y) {
    painter.setPen(QPen(grid, 1));
    painter.drawLine(at(0, y), at(end_x, y));
    painter.setPen(axes);
    const QPointF p = at(0, y);
    painter.drawText(QRectF(p.x() - 64, p.y() - TextSize, 58, 2 * TextSize),
                     Qt::AlignRight | Qt::AlignVCenter, TickText(y, step_y));
  }
  painter.setPen(QPen(axes, 1.5));
  painter.drawLine(at(0, 0), at(end_x, 0));
  painter.drawLine(at(0, 0), at(0, end_y));

  painter.drawText(QRectF(plot.left(), FrameHeight - 24, plot.width(), 20), Qt::AlignHCenter,
                   QStringLiteral("k² · U in V"));
  painter.save();
  painter.translate(14, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2, -10, plot.height(), 20), Qt::AlignHCenter,
                   QStringLiteral("I² in A²"));
  painter.restore();

  painter.setClipRect(plot.adjusted(-PointRadius, -PointRadius, PointRadius, PointRadius));
  if (result) {
    // The fitted line I^2 = m k^2 U, from the origin to the edge of the plot.
    const double x_end = std::min(end_x, end_y / result->slope);
    painter.setPen(QPen(QColor(200, 30, 30), 2));
    painter.drawLine(at(0, 0), at(x_end, result->slope * x_end));
  }
  painter.setPen(QPen(QColor(0, 60, 160), 1.5));
  painter.setBrush(QColor(70, 130, 220));
  for (const Measurement& row : rows) {
    painter.drawEllipse(at(row.order * row.order * row.voltage, row.current * row.current),
                        PointRadius, PointRadius);
  }
  painter.restore();
}

}  // namespace varek
