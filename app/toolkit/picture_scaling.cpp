// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/picture_scaling.h"

#include <QPainter>
#include <cmath>

namespace varek {

namespace {
// Scales this close to 1 count as unscaled.
constexpr double kUnscaled = 1e-9;

int Luminance(QRgb pixel) { return 299 * qRed(pixel) + 587 * qGreen(pixel) + 114 * qBlue(pixel); }

// The first source index of destination index i when length n shrinks to m.
int SourceStart(int i, int n, int m) { return static_cast<int>(static_cast<long long>(i) * n / m); }
}  // namespace

QImage ShrinkKeepingDarkest(const QImage& image, const QSize& size) {
  const QImage source = image.convertToFormat(QImage::Format_RGB32);
  const int w = source.width(), h = source.height();
  QImage result(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    const int y0 = SourceStart(y, h, size.height());
    const int y1 = std::max(y0 + 1, SourceStart(y + 1, h, size.height()));
    auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const int x0 = SourceStart(x, w, size.width());
      const int x1 = std::max(x0 + 1, SourceStart(x + 1, w, size.width()));
      QRgb darkest = source.pixel(x0, y0);
      for (int sy = y0; sy < y1; ++sy) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
        for (int sx = x0; sx < x1; ++sx) {
          if (Luminance(row[sx]) < Luminance(darkest)) darkest = row[sx];
        }
      }
      out[x] = darkest;
    }
  }
  return result;
}

void DrawPicture(QPainter& painter, const QImage& image) {
  const QTransform transform = painter.deviceTransform();
  const double sx = transform.m11(), sy = transform.m22();
  const bool reduced = (sx < 1 - kUnscaled || sy < 1 - kUnscaled) && !image.isNull() &&
                       transform.type() <= QTransform::TxScale;
  if (!reduced) {
    painter.drawImage(0, 0, image);
    return;
  }
  const QSize device_size(std::max(1, static_cast<int>(std::lround(image.width() * sx))),
                          std::max(1, static_cast<int>(std::lround(image.height() * sy))));
  painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image.size())),
                    ShrinkKeepingDarkest(image, device_size));
}

}  // namespace varek
