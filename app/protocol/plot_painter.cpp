// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/plot_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

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

// The marks on a raster device (the screen, the PNG) are stamped, in the
// plan's order, from small pictures of one mark, each made once for its
// look and for each quarter of a device pixel that it lies off the pixel
// grid: copying 20,000 such pictures takes a small part of the time that
// filling and outlining as many ellipses takes. On the vector devices (SVG,
// PDF) every mark stays an ellipse.
class MarkStamps {
 public:
  static constexpr int Steps = 4;

  // `scale`: device pixels a unit of the plan; `ratio`: the device's pixels a painter's pixel.
  MarkStamps(double scale, double ratio) : scale_(scale), ratio_(ratio) {}

  // The mark with its centre at (x, y) in device pixels.
  void Draw(QPainter& painter, const PlotMark& mark, double x, double y) {
    const double left = std::floor(x), top = std::floor(y);
    const int dx = static_cast<int>(std::lround((x - left) * Steps));
    const int dy = static_cast<int>(std::lround((y - top) * Steps));
    const int reach = static_cast<int>(std::ceil((mark.radius + mark.edge_width / 2) * scale_)) + 1;
    const auto key = std::make_tuple(mark.radius, mark.edge_width, mark.fill, mark.edge, dx, dy);
    auto found = stamps_.find(key);
    if (found == stamps_.end()) {
      QImage stamp(2 * reach + 2, 2 * reach + 2, QImage::Format_ARGB32_Premultiplied);
      stamp.fill(Qt::transparent);
      {
        QPainter on(&stamp);
        on.setRenderHint(QPainter::Antialiasing);
        on.setPen(QPen(ColourOf(mark.edge), mark.edge_width * scale_));
        on.setBrush(ColourOf(mark.fill));
        on.drawEllipse(QPointF(reach + static_cast<double>(dx) / Steps,
                               reach + static_cast<double>(dy) / Steps),
                       mark.radius * scale_, mark.radius * scale_);
      }
      stamp.setDevicePixelRatio(ratio_);
      found = stamps_.emplace(key, std::move(stamp)).first;
    }
    painter.drawImage(QPointF((left - reach) / ratio_, (top - reach) / ratio_), found->second);
  }

 private:
  double scale_, ratio_;
  std::map<std::tuple<double, double, PlotColour, PlotColour, int, int>, QImage> stamps_;
};

void PaintMarks(QPainter& painter, const std::vector<PlotMark>& marks) {
  if (painter.paintEngine() == nullptr || painter.paintEngine()->type() != QPaintEngine::Raster) {
    for (const PlotMark& mark : marks) {
      painter.setPen(QPen(ColourOf(mark.edge), mark.edge_width));
      painter.setBrush(ColourOf(mark.fill));
      painter.drawEllipse(QPointF(mark.x, mark.y), mark.radius, mark.radius);
    }
    return;
  }
  // The painter's pixels (of the widget, not of the window it lies in) times the device's ratio.
  const QTransform to_pixels = painter.worldTransform();
  const double ratio = painter.device()->devicePixelRatioF();
  MarkStamps stamps(to_pixels.m11() * ratio, ratio);
  painter.save();
  painter.resetTransform();
  for (const PlotMark& mark : marks) {
    const QPointF at = to_pixels.map(QPointF(mark.x, mark.y)) * ratio;
    stamps.Draw(painter, mark, at.x(), at.y());
  }
  painter.restore();
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
  PaintMarks(painter, plan.marks);
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
