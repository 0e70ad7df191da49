// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/plot_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace varek {

namespace {

QColor ColourOf(PlotColour rgb) {
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The top left of a text's box for its anchor point.
QPointF BoxCorner(const PlotText& text, const QSizeF& box) {
  switch (text.anchor) {
    case Anchor::TopCentre: return {-box.width() / 2, 0};
    case Anchor::MiddleRight: return {-box.width(), -box.height() / 2};
    case Anchor::BottomCentre: return {-box.width() / 2, -box.height()};
    case Anchor::MiddleCentre: return {-box.width() / 2, -box.height() / 2};
  }
  return {};
}

}  // namespace

void PaintPlotPlan(QPainter& painter, const PlotPlan& plan, const QRectF& area) {
  if (plan.width <= 0 || plan.height <= 0) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const double scale = std::min(area.width() / plan.width, area.height() / plan.height);
  painter.translate(area.topLeft());
  painter.scale(scale, scale);
  painter.fillRect(QRectF(0, 0, plan.width, plan.height), ColourOf(plan.background));

  for (const PlotLine& line : plan.lines) {
    painter.setPen(QPen(ColourOf(line.colour), line.width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2));
  }
  for (const PlotMark& mark : plan.marks) {
    painter.setPen(QPen(ColourOf(mark.edge), mark.edge_width));
    painter.setBrush(ColourOf(mark.fill));
    painter.drawEllipse(QPointF(mark.x, mark.y), mark.radius, mark.radius);
  }
  for (const PlotText& text : plan.texts) {
    QFont font(QString::fromStdString(plan.font_family));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(text.size))));
    font.setBold(text.bold);
    painter.setFont(font);
    painter.setPen(ColourOf(text.colour));
    const QString words = QString::fromStdString(text.text);
    const QFontMetricsF metrics(font, painter.device());
    const QSizeF box(metrics.horizontalAdvance(words), metrics.height());
    painter.save();
    painter.translate(text.x, text.y);
    if (text.vertical) painter.rotate(-90);
    painter.drawText(QRectF(BoxCorner(text, box), box), Qt::AlignCenter, words);
    painter.restore();
  }
  painter.restore();
}

}  // namespace varek
