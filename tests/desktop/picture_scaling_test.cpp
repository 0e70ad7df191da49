// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/picture_scaling.h"

#include <gtest/gtest.h>

#include <QImage>

namespace varek {
namespace {

constexpr QRgb kLight = 0xFFE8E8E8u, kDark = 0xFF000000u, kBlue = 0xFF0000FFu;

int CountOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  }
  return count;
}

// A dotted line one pixel wide, horizontal in every row and vertical in every
// column of a 10 x 10 picture, reduced to sizes down to a half: in each case
// every row (or column) of the result still shows the line, which
// nearest-neighbour sampling would drop for the rows it skips, and no colour
// is made up.
TEST(PictureScalingTest, OnePixelLinesSurviveReduction) {
  for (int size : {9, 8, 7, 5}) {
    for (int line = 0; line < 10; ++line) {
      QImage horizontal(10, 10, QImage::Format_RGB32), vertical(10, 10, QImage::Format_RGB32);
      horizontal.fill(kLight);
      vertical.fill(kLight);
      for (int i = 0; i < 10; i += 2) {
        horizontal.setPixel(i, line, kDark);
        vertical.setPixel(line, i, kBlue);
      }
      const QImage h = ShrinkKeepingDarkest(horizontal, {size, size});
      const QImage v = ShrinkKeepingDarkest(vertical, {size, size});
      EXPECT_GE(CountOf(h, kDark), size / 2) << "size " << size << ", row " << line;
      EXPECT_GE(CountOf(v, kBlue), size / 2) << "size " << size << ", column " << line;
      EXPECT_EQ(CountOf(h, kDark) + CountOf(h, kLight), size * size);
      EXPECT_EQ(CountOf(v, kBlue) + CountOf(v, kLight), size * size);
    }
  }
}

TEST(PictureScalingTest, SameSizeIsTheSamePicture) {
  QImage picture(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) picture.setPixel(x, y, qRgb(x * 30, y * 50, 99));
  }
  EXPECT_EQ(ShrinkKeepingDarkest(picture, picture.size()), picture);
}

}  // namespace
}  // namespace varek
