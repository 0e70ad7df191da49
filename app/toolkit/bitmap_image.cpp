// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/bitmap_image.h"

namespace varek {

namespace {
constexpr QRgb kOpaque = 0xFF000000u;  // alpha byte of an RGB32 pixel
}

void CopyInto(const Bitmap& picture, QImage& image) {
  if (image.width() != picture.width || image.height() != picture.height ||
      image.format() != QImage::Format_RGB32) {
    image = QImage(picture.width, picture.height, QImage::Format_RGB32);
  }
  for (int y = 0; y < picture.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    const Pixel* source = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    for (int x = 0; x < picture.width; ++x) row[x] = source[x] | kOpaque;
  }
}

QImage ToQImage(const Bitmap& picture) {
  QImage image;
  CopyInto(picture, image);
  return image;
}

}  // namespace varek
