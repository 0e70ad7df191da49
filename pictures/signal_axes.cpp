// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The axes strip under the deflection plot: white, a 2-pixel vertical axis at
// the left edge (columns 0 and 1) and a 2-pixel zero line (rows 24 and 25).
#include "pages.h"

namespace pictures {

QImage PaintSignalAxes() {
  constexpr int kWidth = 241;
  constexpr int kHeight = 50;
  QImage image(kWidth, kHeight, QImage::Format_Grayscale8);
  for (int y = 0; y < kHeight; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < kWidth; ++x) {
      const bool axis = x <= 1 || y == 24 || y == 25;
      row[x] = axis ? 0 : 255;
    }
  }
  return image;
}

}  // namespace pictures
