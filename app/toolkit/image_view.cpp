// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/image_view.h"

#include <QMetaObject>
#include <QPainter>
#include <cmath>
#include <utility>

#include "app/toolkit/bitmap_image.h"
#include "app/toolkit/picture_scaling.h"

namespace varek {

namespace {
// Draws image, made at the device's scale, one image pixel to one device
// pixel from the device pixel nearest to the widget's corner.
void DrawAtDevicePixels(QPainter& painter, const QImage& image) {
  const QTransform device = painter.deviceTransform();
  const QPointF corner = device.map(QPointF(0, 0));
  const QTransform base = painter.worldTransform().inverted() * device;
  painter.setWorldTransform(
      QTransform::fromTranslate(std::round(corner.x()), std::round(corner.y())) * base.inverted());
  painter.drawImage(0, 0, image);
}
}  // namespace

ImageView::ImageView(QWidget* parent, const QRect& bounds) : QWidget(parent) {
  setGeometry(bounds);
}

void ImageView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  DrawPicture(painter, image_);
}

void TImage::SetPicture(const Bitmap& picture) {
  CopyInto(picture, image_);
  update();
}

void TImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QTransform device = painter.deviceTransform();
  const double scale = device.m11();
  if (PaintAtScale && device.type() <= QTransform::TxScale && scale > 1.001) {
    if (scale != painted_scale_) {
      painted_ = PaintAtScale(scale).convertToFormat(QImage::Format_RGB32);
      painted_scale_ = scale;
    }
    // The control clips the painting as it clips its picture.
    if (!painted_.isNull()) {
      DrawAtDevicePixels(painter, painted_);
      return;
    }
  }
  painter.end();
  ImageView::paintEvent(event);
}

TPaintBox::TPaintBox(QWidget* parent, const QRect& bounds) : ImageView(parent, bounds) {
  // The picture covers the whole area: Qt need not clear it before painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  image_ = QImage(bounds.size(), QImage::Format_RGB32);
  image_.fill(parent->palette().color(QPalette::Window));
}

void TPaintBox::Present(const Bitmap& picture) {
  CopyInto(picture, image_);
  ++present_count_;
  // Shown directly, repaint paints at once. Shown scaled, it only marks the
  // area, and the paint comes later from the window that shows the form:
  // that paint is still this presentation's, not an uncovering.
  own_paint_pending_ = isVisible();
  repaint();
}

void TPaintBox::Uncovered() {
  if (isVisible()) SchedulePaintHandler();
}

void TPaintBox::paintEvent(QPaintEvent* /*event*/) {
  double scale = 1.0;
  {
    QPainter painter(this);
    const QTransform device = painter.deviceTransform();
    // Thousandths, and small enough that the picture, placed at the device
    // pixel nearest the corner, ends a pixel inside the area's far edge.
    const double slack = 1.5 / std::max(1, std::min(width(), height()));
    scale = std::floor((device.m11() - slack) * 1000.0 + 1e-6) / 1000.0;
    if (image_.width() > width() && device.type() <= QTransform::TxScale) {
      // A picture drawn at the device's scale: one image pixel to one device
      // pixel, from the device pixel nearest to the area's corner; the sliver
      // the snapped scale leaves keeps the window's colour.
      painter.fillRect(rect(), palette().color(QPalette::Window));
      DrawAtDevicePixels(painter, image_);
    } else {
      DrawPicture(painter, image_);
    }
  }
  if (scale != device_scale_) {
    device_scale_ = scale;
    if (OnDeviceScale)
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (OnDeviceScale) OnDeviceScale(device_scale_);
          },
          Qt::QueuedConnection);
  }
  if (!std::exchange(own_paint_pending_, false)) SchedulePaintHandler();
}

void TPaintBox::SchedulePaintHandler() {
  if (paint_handler_pending_ || !OnPaint) return;
  paint_handler_pending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        paint_handler_pending_ = false;
        if (OnPaint) OnPaint();
      },
      Qt::QueuedConnection);
}

}  // namespace varek
