// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in pictures decode to the sizes and contents the window relies on.
#include <gtest/gtest.h>

#include "assets/pictures.h"

namespace varek {
namespace {

constexpr Pixel kWhite = Rgb(255, 255, 255);
constexpr Pixel kBlack = Rgb(0, 0, 0);

int Brightness(Pixel p) { return (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3; }

// Number of pixels in the rectangle that are clearly darker than the paper.
int InkIn(const Bitmap& b, int x0, int y0, int x1, int y1) {
  int ink = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) ink += Brightness(b.At(x, y)) < 128 ? 1 : 0;
  return ink;
}

Bitmap Load(PictureId id) {
  std::string error;
  std::optional<Bitmap> picture = LoadPicture(id, &error);
  EXPECT_TRUE(picture.has_value()) << error;
  return picture.value_or(Bitmap());
}

TEST(Pictures, DecodeToTheirSizes) {
  struct Case {
    PictureId id;
    int width, height;
  };
  for (const Case& c : {Case{PictureId::Information, 1004, 654}, Case{PictureId::Data, 531, 176},
                        Case{PictureId::SignalAxes, 241, 50}}) {
    const Bitmap b = Load(c.id);
    EXPECT_EQ(b.width, c.width) << static_cast<int>(c.id);
    EXPECT_EQ(b.height, c.height) << static_cast<int>(c.id);
    EXPECT_EQ(b.pixels.size(), static_cast<std::size_t>(c.width) * c.height);
    for (Pixel p : b.pixels) ASSERT_EQ(p & 0xFF000000u, 0u) << "the top byte of a pixel stays zero";
  }
}

TEST(Pictures, SignalAxesAreExactlyBlackOnWhite) {
  const Bitmap b = Load(PictureId::SignalAxes);
  ASSERT_EQ(b.width, 241);
  ASSERT_EQ(b.height, 50);
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      const bool axis = x == 0 || x == 1 || y == 24 || y == 25;
      ASSERT_EQ(b.At(x, y), axis ? kBlack : kWhite) << "pixel " << x << "," << y;
    }
  }
}

TEST(Pictures, DataPageKeepsTheRowsCutOffByTheWindowBlank) {
  const Bitmap b = Load(PictureId::Data);
  ASSERT_EQ(b.height, 176);
  // The window shows rows 0..164 only.
  EXPECT_EQ(InkIn(b, 0, 165, b.width, b.height), 0);
  for (int y = 165; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) ASSERT_GE(Brightness(b.At(x, y)), 230) << x << "," << y;
  // Heading, rule and four lines of data above.
  EXPECT_GT(InkIn(b, 0, 0, b.width, 45), 500);
  EXPECT_GT(InkIn(b, 0, 45, b.width, 165), 1000);
}

TEST(Pictures, InformationPageHasTextInBothColumnsAndClearEdges) {
  const Bitmap b = Load(PictureId::Information);
  ASSERT_EQ(b.width, 1004);
  ASSERT_EQ(b.height, 654);
  const int half = b.width / 2;
  EXPECT_GT(InkIn(b, 0, 90, half - 20, b.height), 10000) << "left column";
  EXPECT_GT(InkIn(b, half + 20, 90, b.width, b.height), 10000) << "right column";
  // Nothing touches the edges of the page.
  constexpr int kEdge = 8;
  EXPECT_EQ(InkIn(b, 0, 0, b.width, kEdge), 0);
  EXPECT_EQ(InkIn(b, 0, b.height - kEdge, b.width, b.height), 0);
  EXPECT_EQ(InkIn(b, 0, 0, kEdge, b.height), 0);
  EXPECT_EQ(InkIn(b, b.width - kEdge, 0, b.width, b.height), 0);
}

}  // namespace
}  // namespace varek
