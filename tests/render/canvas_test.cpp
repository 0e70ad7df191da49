// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tests/render/pixel_art.h"

namespace varek {
namespace {

using testing::Black;
using testing::CountColour;
using testing::PixelArt;
using testing::Red;
using testing::White;

constexpr Pixel Grey = testing::Background;
constexpr Pixel Green = testing::ScreenGreen;
constexpr Pixel Fill = testing::ScreenFill;

const std::map<Pixel, char> Legend = {{White, '.'}, {Black, 'P'}, {Red, 'R'},
                                      {Grey, 'B'},  {Green, 'G'}, {Fill, 'F'}};

TEST(Canvas, RectangleRightAndBottomLieOutside) {
  Bitmap bitmap(7, 6, White);
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Grey);
  canvas.Rectangle(1, 1, 6, 5);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            ".......\n"
            ".PPPPP.\n"
            ".PBBBP.\n"
            ".PBBBP.\n"
            ".PPPPP.\n"
            ".......\n");
}

TEST(Canvas, RectangleOverTheWholeBitmapFramesItsOutermostPixels) {
  Bitmap bitmap(5, 4, White);
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Grey);
  canvas.Rectangle(0, 0, 5, 4);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            "PPPPP\n"
            "PBBBP\n"
            "PBBBP\n"
            "PPPPP\n");
}

TEST(Canvas, LineToLeavesItsEndPointUnpainted) {
  struct Case {
    int x0, y0, x1, y1;
    const char* art;
  };
  const Case cases[] = {
      {1, 1, 5, 1, "......\n.PPPP.\n......\n......\n......\n"},  // rightwards
      {4, 3, 0, 3, "......\n......\n......\n.PPPP.\n......\n"},  // leftwards
      {2, 0, 2, 4, "..P...\n..P...\n..P...\n..P...\n......\n"},  // downwards
      {0, 0, 4, 4, "P.....\n.P....\n..P...\n...P..\n......\n"},  // diagonal
      {3, 2, 3, 2, "......\n......\n......\n......\n......\n"},  // no length
  };
  for (const Case& c : cases) {
    Bitmap bitmap(6, 5, White);
    Canvas canvas(bitmap);
    canvas.MoveTo(c.x0, c.y0);
    canvas.LineTo(c.x1, c.y1);
    EXPECT_EQ(PixelArt(bitmap, Legend), c.art)
        << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
  }
}

TEST(Canvas, ClosedPolylinePaintsEveryCornerOnce) {
  Bitmap bitmap(5, 5, White);
  Canvas canvas(bitmap);
  canvas.MoveTo(1, 1);
  canvas.LineTo(3, 1);
  canvas.LineTo(3, 3);
  canvas.LineTo(1, 3);
  canvas.LineTo(1, 1);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            ".....\n"
            ".PPP.\n"
            ".P.P.\n"
            ".PPP.\n"
            ".....\n");
}

// Every thin line is one pixel per step of its longer axis, each pixel within
// half a pixel of the ideal line, from the start point up to the end point.
TEST(Canvas, ThinLinesFollowTheIdealLine) {
  const int ends[][4] = {{0, 0, 19, 7},  {19, 7, 0, 0},   {2, 18, 17, 1}, {5, 0, 9, 19},
                         {18, 3, 1, 12}, {0, 10, 19, 10}, {7, 19, 7, 0},  {3, 3, 16, 16}};
  for (const auto& e : ends) {
    Bitmap bitmap(20, 20, White);
    Canvas canvas(bitmap);
    canvas.MoveTo(e[0], e[1]);
    canvas.LineTo(e[2], e[3]);
    const int dx = e[2] - e[0], dy = e[3] - e[1];
    const int steps = std::max(std::abs(dx), std::abs(dy));
    EXPECT_EQ(CountColour(bitmap, Black), steps);
    EXPECT_EQ(bitmap.At(e[0], e[1]), Black);
    EXPECT_EQ(bitmap.At(e[2], e[3]), White);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        if (bitmap.At(x, y) != Black) continue;
        // distance along the minor axis from the ideal line
        const double off = std::abs(dx) >= std::abs(dy)
                               ? std::abs(e[1] + static_cast<double>(dy) * (x - e[0]) / dx - y)
                               : std::abs(e[0] + static_cast<double>(dx) * (y - e[1]) / dy - x);
        EXPECT_LE(off, 0.5) << "pixel " << x << "," << y;
      }
  }
}

// A line from far outside is clipped to exactly the pixels the same line
// paints inside a bitmap large enough to hold it whole.
TEST(Canvas, ClippedLinesPaintTheSamePixelsAsUnclipped) {
  const int ends[][4] = {{-300, -170, 310, 180},
                         {-40, 12, 55, -3},
                         {4, -1000, 6, 1000},
                         {1000, 9, -1000, 2},
                         {-2000000000, -7, 2000000000, 15},
                         {12, -5, -3, 20}};
  for (PenStyle style : {PenStyle::Solid, PenStyle::Dotted}) {
    for (int width : {1, 3}) {
      for (const auto& e : ends) {
        Bitmap small(10, 10, White);
        Canvas clipped(small);
        clipped.SetPenStyle(style);
        clipped.SetPenWidth(width);
        clipped.SetBrushColour(Grey);
        clipped.MoveTo(e[0], e[1]);
        clipped.LineTo(e[2], e[3]);
        if (std::abs(e[0]) > 100000) {  // too long for a reference bitmap: check the row alone
          EXPECT_GT(CountColour(small, Black), 0);
          continue;
        }
        const int shift = 1010;
        Bitmap big(2030, 2030, White);
        Canvas whole(big);
        whole.SetPenStyle(style);
        whole.SetPenWidth(width);
        whole.SetBrushColour(Grey);
        whole.MoveTo(e[0] + shift, e[1] + shift);
        whole.LineTo(e[2] + shift, e[3] + shift);
        for (int y = 0; y < 10; ++y)
          for (int x = 0; x < 10; ++x)
            ASSERT_EQ(small.At(x, y), big.At(x + shift, y + shift))
                << "line " << e[0] << "," << e[1] << " -> " << e[2] << "," << e[3] << " width "
                << width << " pixel " << x << "," << y;
      }
    }
  }
}

// A line through the lattice points (7k, 3k) paints the same pixels near
// the origin however far off its ends lie: from 1,999,999,995 pixels away,
// where its steps are counted in 128 bits, as from 63. The ends differ by a
// multiple of six steps, so that the dots fall alike too.
TEST(Canvas, FarOffEndsPaintANearLineAsNearEndsDo) {
  constexpr int K = 285714285, Near = 9;
  for (PenStyle style : {PenStyle::Solid, PenStyle::Dotted}) {
    for (int width : {1, 3}) {
      Bitmap far(10, 10, White), near(10, 10, White);
      for (auto [bitmap, k] : {std::pair{&far, K}, std::pair{&near, Near}}) {
        Canvas canvas(*bitmap);
        canvas.SetPenStyle(style);
        canvas.SetPenWidth(width);
        canvas.SetBrushColour(Grey);
        canvas.MoveTo(-7 * k + 3, -3 * k + 4);
        canvas.LineTo(7 * k + 3, 3 * k + 4);
      }
      EXPECT_GT(CountColour(near, Black), 0);
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
          ASSERT_EQ(far.At(x, y), near.At(x, y)) << "width " << width << " pixel " << x << "," << y;
    }
  }
}

TEST(Canvas, LinesWhollyOutsidePaintNothing) {
  Bitmap bitmap(10, 10, White);
  Canvas canvas(bitmap);
  canvas.SetPenWidth(3);
  canvas.MoveTo(-50, -3);
  canvas.LineTo(60, -3);
  canvas.MoveTo(12, -2000000000);
  canvas.LineTo(12, 2000000000);
  canvas.SetPenWidth(1);
  canvas.MoveTo(-2000000000, -1);
  canvas.LineTo(2000000000, -1);
  canvas.MoveTo(-5, 3);
  canvas.LineTo(3, -5);  // passes the corner just outside
  EXPECT_EQ(CountColour(bitmap, White), 100);
}

TEST(Canvas, DottedPenPaintsItsGapsInTheBrushColourOverEarlierLines) {
  Bitmap bitmap(12, 3, White);
  Canvas canvas(bitmap);
  canvas.SetPenColour(Red);
  for (int x = 0; x < 12; ++x) {  // an earlier red line under the dotted one
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, 3);
  }
  canvas.SetPenColour(Black);
  canvas.SetPenStyle(PenStyle::Dotted);
  canvas.SetBrushColour(Grey);
  canvas.MoveTo(0, 1);
  canvas.LineTo(12, 1);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            "RRRRRRRRRRRR\n"
            "PPPBBBPPPBBB\n"
            "RRRRRRRRRRRR\n");
}

// A ring drawn as many one-pixel segments still shows its dots: the pattern
// runs on from one LineTo to the next and starts afresh at MoveTo.
TEST(Canvas, DotPatternRunsOnAcrossShortSegments) {
  Bitmap bitmap(12, 2, White);
  Canvas canvas(bitmap);
  canvas.SetPenStyle(PenStyle::Dotted);
  canvas.SetBrushColour(Grey);
  canvas.MoveTo(0, 0);
  for (int x = 1; x <= 12; ++x) canvas.LineTo(x, 0);
  canvas.MoveTo(2, 1);
  canvas.LineTo(4, 1);
  canvas.MoveTo(4, 1);
  canvas.LineTo(12, 1);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            "PPPBBBPPPBBB\n"
            "..PPPPPBBBPP\n");
}

TEST(Canvas, WidePenIsSolidWithRoundEnds) {
  for (PenStyle style : {PenStyle::Solid, PenStyle::Dotted}) {
    Bitmap bitmap(16, 9, White);
    Canvas canvas(bitmap);
    canvas.SetPenStyle(style);
    canvas.SetBrushColour(Grey);
    canvas.SetPenWidth(5);
    canvas.MoveTo(4, 4);
    canvas.LineTo(11, 4);
    EXPECT_EQ(PixelArt(bitmap, Legend),
              "................\n"
              "................\n"
              "...PPPPPPPPPP...\n"
              "..PPPPPPPPPPPP..\n"
              "..PPPPPPPPPPPP..\n"
              "..PPPPPPPPPPPP..\n"
              "...PPPPPPPPPP...\n"
              "................\n"
              "................\n")
        << (style == PenStyle::Dotted ? "dotted" : "solid");
  }
}

TEST(Canvas, WidePenJoinsSegmentsRoundly) {
  Bitmap bitmap(9, 9, White);
  Canvas canvas(bitmap);
  canvas.SetPenWidth(3);
  canvas.MoveTo(1, 1);
  canvas.LineTo(6, 1);
  canvas.LineTo(6, 6);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            "PPPPPPPP.\n"
            "PPPPPPPP.\n"
            "PPPPPPPP.\n"
            ".....PPP.\n"
            ".....PPP.\n"
            ".....PPP.\n"
            ".....PPP.\n"
            ".....PPP.\n"
            ".........\n");
}

TEST(Canvas, EllipseIsOutlinedWithThePenAndFilledWithTheBrush) {
  Bitmap bitmap(8, 8, White);
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Grey);
  canvas.Ellipse(1, 1, 7, 7);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            "........\n"
            "..PPPP..\n"
            ".PBBBBP.\n"
            ".PBBBBP.\n"
            ".PBBBBP.\n"
            ".PBBBBP.\n"
            "..PPPP..\n"
            "........\n");
}

TEST(Canvas, SmallEllipsesWithAWidePenAreSolidDots) {
  struct Case {
    int half;  // box (c - half, c - half, c + half, c + half)
    const char* art;
  };
  const Case cases[] = {
      {1, "........\n........\n..PPPP..\n..PPPP..\n..PPPP..\n..PPPP..\n........\n........\n"},
      {2, "........\n..PPPP..\n.PPPPPP.\n.PPPPPP.\n.PPPPPP.\n.PPPPPP.\n..PPPP..\n........\n"},
  };
  for (const Case& c : cases) {
    Bitmap bitmap(8, 8, White);
    Canvas canvas(bitmap);
    canvas.SetBrushColour(Grey);
    canvas.SetPenWidth(3);
    canvas.SetPenStyle(PenStyle::Dotted);
    canvas.Ellipse(4 - c.half, 4 - c.half, 4 + c.half, 4 + c.half);
    EXPECT_EQ(PixelArt(bitmap, Legend), c.art) << "half size " << c.half;
  }
}

TEST(Canvas, FiguresPartlyOrWhollyOutsideAreClipped) {
  Bitmap bitmap(6, 5, White);
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Grey);
  canvas.Rectangle(-4, -3, 3, 3);
  canvas.Ellipse(-2000000000, 30, 2000000000, 2000000000);  // wholly below
  canvas.Rectangle(7, 0, 20, 5);                            // wholly right
  canvas.SetPenWidth(3);
  canvas.Ellipse(9, 9, 40, 40);  // outside, but within reach of its pen
  EXPECT_EQ(PixelArt(bitmap, Legend),
            "BBP...\n"
            "BBP...\n"
            "PPP...\n"
            "......\n"
            "......\n");
}

TEST(Canvas, HugeEllipseAroundTheBitmapFillsItWithTheBrush) {
  Bitmap bitmap(10, 10, White);
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Grey);
  canvas.SetPenWidth(3);
  canvas.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_EQ(CountColour(bitmap, Grey), 100);
}

TEST(Canvas, FloodFillSpreadsOnlyToFourConnectedPixels) {
  // A diagonal border stops a four-connected fill; a pixel of a colour next
  // to the border colour is not border and is filled.
  Bitmap bitmap(6, 6, White);
  for (int i = 0; i < 6; ++i) bitmap.At(5 - i, i) = Green;
  bitmap.At(1, 1) = Rgb(0, 129, 0);
  bitmap.At(2, 0) = Red;
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Fill);
  canvas.FloodFill(0, 0, Green);
  EXPECT_EQ(PixelArt(bitmap, Legend),
            "FFFFFG\n"
            "FFFFG.\n"
            "FFFG..\n"
            "FFG...\n"
            "FG....\n"
            "G.....\n");
}

TEST(Canvas, FloodFillSeededOnTheBorderOrOutsidePaintsNothing) {
  Bitmap bitmap(4, 4, White);
  bitmap.At(2, 2) = Green;
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Fill);
  for (auto [x, y] : {std::pair{2, 2}, {-1, 0}, {0, -1}, {4, 0}, {0, 4}, {-2000000000, 2000000000}})
    canvas.FloodFill(x, y, Green);
  EXPECT_EQ(CountColour(bitmap, White), 15);
  EXPECT_EQ(bitmap.At(2, 2), Green);
}

TEST(Canvas, FloodFillWithTheColourAlreadyThereEnds) {
  Bitmap bitmap(5, 5, Fill);
  Canvas canvas(bitmap);
  canvas.SetBrushColour(Fill);
  canvas.FloodFill(2, 2, Green);
  canvas.SetBrushColour(Green);  // brush equal to the border colour
  canvas.FloodFill(0, 0, Green);
  EXPECT_EQ(CountColour(bitmap, Green), 25);
}

TEST(Canvas, FloodFillOfTheWholeSceneBitmapReachesEveryPixel) {
  Bitmap bitmap(720, 440, Grey);
  Canvas canvas(bitmap);
  for (int round = 0; round < 2; ++round) {  // twice: the work storage is reused
    const Pixel brush = round == 0 ? Fill : Red;
    canvas.SetBrushColour(brush);
    canvas.FloodFill(719 * round, 439 * round, Green);
    EXPECT_EQ(CountColour(bitmap, brush), 720 * 440);
  }
}

TEST(Canvas, DrawCopiesABitmapClippedAtEveryEdge) {
  Bitmap source(3, 2, Red);
  source.At(0, 0) = Black;
  struct Case {
    int x, y;
    const char* art;
  };
  const Case cases[] = {
      {1, 1, ".....\n.PRR.\n.RRR.\n.....\n"},  {-1, -1, "RR...\n.....\n.....\n.....\n"},
      {3, 3, ".....\n.....\n.....\n...PR\n"},  {5, 0, ".....\n.....\n.....\n.....\n"},
      {-3, 0, ".....\n.....\n.....\n.....\n"},
  };
  for (const Case& c : cases) {
    Bitmap target(5, 4, White);
    Canvas canvas(target);
    canvas.Draw(c.x, c.y, source);
    EXPECT_EQ(PixelArt(target, Legend), c.art) << c.x << "," << c.y;
  }
}

}  // namespace
}  // namespace varek
