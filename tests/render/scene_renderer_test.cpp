// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/scene_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "render/simulation.h"
#include "tests/render/pixel_art.h"

namespace varek {
namespace {

using testing::Background;
using testing::Black;
using testing::Blue;
using testing::CountColour;
using testing::Red;
using testing::ScreenFill;

constexpr Pixel HitMark1 = Rgb(0, 135, 0);
constexpr Pixel HitMark2 = Rgb(0, 140, 0);

// The window's start-up: model, coil and rims, apparatus, the back buffer.
class SceneTest : public ::testing::Test {
 protected:
  const Bitmap& Render() { return simulation.RenderScene(settings); }
  const Bitmap& Picture() const { return simulation.Picture(); }

  // A view straight from the side: view points are model points, and a point
  // (x, y, 0) lands on pixel (360 + x, 220 - y).
  void SideView() {
    settings.turn_axis = 0;
    settings.turn_vertical = 0;
  }

  // Path p: a straight line of `count` samples along y = level, x from -200
  // in steps of 50; the pixel its last sample lands on in the side view.
  PixelPoint StorePath(int p, int count, int level) {
    for (int i = 1; i <= count; ++i) sc.TrajectoryPoints[p][i] = {-200 + 50 * (i - 1), level, 0};
    sc.TrajectoryCount[p] = count;
    return {360 - 200 + 50 * (count - 1), 220 - level};
  }

  // Pixels of `colour` within `radius` of (x, y), and outside it.
  int CountNear(Pixel colour, PixelPoint p, int radius) {
    int n = 0;
    for (int y = std::max(0, p.y - radius); y <= std::min(SceneHeight - 1, p.y + radius); ++y)
      for (int x = std::max(0, p.x - radius); x <= std::min(SceneWidth - 1, p.x + radius); ++x)
        n += Picture().At(x, y) == colour ? 1 : 0;
    return n;
  }

  // Pixels of `colour` in the rows within `half` of `row`.
  int CountInRows(Pixel colour, int row, int half) {
    int n = 0;
    for (int y = row - half; y <= row + half; ++y)
      for (int x = 0; x < SceneWidth; ++x) n += Picture().At(x, y) == colour ? 1 : 0;
    return n;
  }

  Settings settings;
  Simulation simulation{settings};
  Scene& sc = simulation.model().mutable_scene();
};

TEST(ProjectPoint, ProjectsThroughTheEyeAt4500RoundingHalvesToEven) {
  struct Case {
    Vec3i view;
    PixelPoint pixel;
  };
  const Case cases[] = {
      {{315, 0, 0}, {675, 220}},       {{0, 140, 300}, {360, 89}},  // 630000 / 4800 = 131.25
      {{100, 50, -300}, {467, 166}},                                // 107.14 and 53.57
      {{0, 0, 0}, {360, 220}},         {{1, 0, 4500}, {360, 220}},  // 0.5 goes to 0
      {{3, 0, 4500}, {362, 220}},                                   // 1.5 goes to 2
      {{-1, 0, 4500}, {360, 220}},                                  // -0.5 goes to 0
      {{-3, 0, 4500}, {358, 220}},                                  // -1.5 goes to -2
      {{0, 1, 4500}, {360, 220}},      {{0, 3, 4500}, {360, 218}},
      {{0, 5, 4500}, {360, 218}},  // 2.5 goes to 2
      {{-200, -140, 315}, {173, 351}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProjectPoint(c.view, 1), c.pixel) << c.view.x << "," << c.view.y << "," << c.view.z;
}

// Doubles decide a pixel only where it lies clear of a half: every pixel
// comes out as the extended computation places it, at the scales the page
// draws at too, also on and next to halves (z = 4500 and multiples of 4500
// over odd divisors) and for points the doubles leave alone.
TEST(ProjectPoint, EveryPixelIsTheExtendedProjection) {
  const auto extended_pixel = [](const Vec3i& v, Extended scale) {
    const Extended d = Extended(v.z) + 4500;
    return PixelPoint{ScaledPixel(360 + Extended(v.x) * 4500 / d, scale),
                      ScaledPixel(220 - Extended(v.y) * 4500 / d, scale)};
  };
  for (const Extended scale :
       {Extended(1), Extended(1273) / 1000, Extended(3) / 2, Extended(2), Extended(7999) / 1000}) {
    for (int z = -375; z <= 4500; z += z < 375 ? 25 : 4125)
      for (int x = -375; x <= 375; x += 3)
        for (int y : {-375, -141, -1, 0, 3, 140, 375, 1 << 24}) {
          const Vec3i v{x, y, z};
          ASSERT_EQ(ProjectPoint(v, 1, scale), extended_pixel(v, scale))
              << static_cast<double>(scale) << ": " << x << "," << y << "," << z;
        }
  }
}

TEST(ProjectPoint, PointsAtTheEyeDoNotBreakTheConversion) {
  const PixelPoint at_eye = ProjectPoint({100, -100, -4500}, 1);
  EXPECT_GT(at_eye.x, SceneWidth);
  EXPECT_GT(at_eye.y, SceneHeight);
  EXPECT_EQ(ProjectPoint({0, 0, -4500}, 1), (PixelPoint{360, 220}));
  const PixelPoint far = ProjectPoint({INT_MAX, INT_MIN, -4499}, 1);
  EXPECT_GT(far.x, SceneWidth);
  EXPECT_GT(far.y, SceneHeight);
}

TEST_F(SceneTest, StartUpPictureIsGreyWithABlackFrame) {
  EXPECT_EQ(&Render(), &Picture());
  for (int x = 1; x < SceneWidth - 1; ++x) {
    ASSERT_EQ(Picture().At(x, 0), Black) << x;
    ASSERT_EQ(Picture().At(x, SceneHeight - 1), Black) << x;
    ASSERT_NE(Picture().At(x, 1), Black) << x;
  }
  for (int y = 1; y < SceneHeight - 1; ++y) {
    ASSERT_EQ(Picture().At(0, y), Black) << y;
    ASSERT_EQ(Picture().At(SceneWidth - 1, y), Black) << y;
    ASSERT_NE(Picture().At(1, y), Black) << y;
  }
  for (PixelPoint p : {PixelPoint{1, 1}, {718, 438}, {30, 400}, {700, 20}, {360, 10}})
    EXPECT_EQ(Picture().At(p.x, p.y), Background) << p.x << "," << p.y;
  // Before the first computation there is no path and no end mark.
  EXPECT_EQ(CountColour(Picture(), Blue), 0);
  EXPECT_EQ(CountColour(Picture(), HitMark1), 0);
}

TEST_F(SceneTest, BeamSourceIsABlackCircleFilledWithTheBackground) {
  Render();
  const PixelPoint s = ProjectPoint(sc.SourceView[1], 1);
  EXPECT_EQ(s, (PixelPoint{83, 220}));
  EXPECT_EQ(Picture().At(s.x - 3, s.y), Black);
  EXPECT_EQ(Picture().At(s.x + 2, s.y), Black);
  EXPECT_EQ(Picture().At(s.x, s.y - 3), Black);
  EXPECT_EQ(Picture().At(s.x, s.y + 2), Black);
  EXPECT_EQ(Picture().At(s.x, s.y), Background);
  EXPECT_NE(Picture().At(s.x + 3, s.y), Black);  // right and bottom of the box lie outside
  EXPECT_NE(Picture().At(s.x, s.y + 3), Black);
}

TEST_F(SceneTest, ScreenIsFilledOnlyAwayFromEdgeOnAndWhenNotSeeThrough) {
  struct Case {
    int turn_axis, turn_vertical;
    bool see_through, filled;
  };
  // At -4 and -176 the fill runs, but the eye then lies in the plane of the
  // screen (sin 4 degrees = 315 / 4500): the rim is seen as a line through
  // its centre, the seed lies on the green rim and nothing is filled. One
  // degree further the disc opens and is filled.
  const Case cases[] = {
      {5, -5, false, true},      {5, -4, false, false},    {5, -3, false, false},
      {5, -175, false, true},    {5, -176, false, false},  {5, -177, false, false},
      {5, -25, false, true},     {0, 0, false, false},     {0, -90, false, true},
      {0, -90, true, false},     {5, -25, true, false},    {-120, -140, true, false},
      {180, -180, false, false}, {-180, -60, false, true},
  };
  for (const Case& c : cases) {
    settings.turn_axis = c.turn_axis;
    settings.turn_vertical = c.turn_vertical;
    settings.screen_transparent = c.see_through;
    Render();
    const int filled = CountColour(Picture(), ScreenFill);
    const std::string view = std::to_string(c.turn_axis) + "/" + std::to_string(c.turn_vertical) +
                             (c.see_through ? " see-through" : "");
    if (!c.filled) {
      EXPECT_EQ(filled, 0) << view;
      if (c.turn_vertical == -4 || c.turn_vertical == -176) {
        const PixelPoint seed = ProjectPoint(sc.ScreenCentreView, 1);
        EXPECT_EQ(Picture().At(seed.x, seed.y), Rgb(0, 128, 0)) << view;
      }
      continue;
    }
    EXPECT_GT(filled, 100) << view;
    // The fill stays inside the green rim.
    int left = SceneWidth, right = 0, top = SceneHeight, bottom = 0;
    for (int k = 1; k <= RingPointCount; ++k) {
      const PixelPoint p = ProjectPoint(sc.ScreenRingView[k], 1);
      left = std::min(left, p.x), right = std::max(right, p.x);
      top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    for (int y = 0; y < SceneHeight; ++y)
      for (int x = 0; x < SceneWidth; ++x)
        if (Picture().At(x, y) == ScreenFill) {
          ASSERT_TRUE(x > left && x < right && y > top && y < bottom)
              << view << " leak at " << x << "," << y;
        }
  }
}

TEST_F(SceneTest, FillPaintsOverLinesInsideTheRim) {
  settings.turn_axis = 0;
  settings.turn_vertical = -90;  // looking along the tube onto the screen
  settings.coil_visible = true;
  sc.TrajectoryTotal = 1;
  StorePath(1, 8, 60);  // runs along the axis, seen end-on inside the disc
  sc.ScreenHit = false;
  Render();
  // From the front the screen disc covers the middle of the picture.
  const PixelPoint centre = ProjectPoint(sc.ScreenCentreView, 1);
  EXPECT_EQ(centre, (PixelPoint{360, 220}));
  EXPECT_EQ(CountNear(Red, centre, 100), 0);
  EXPECT_EQ(CountNear(Black, centre, 100), 0);
  EXPECT_EQ(CountNear(Blue, centre, 100), 0);
  EXPECT_EQ(Picture().At(360, 220 - 60), ScreenFill);
  EXPECT_GT(CountColour(Picture(), Red), 5000);  // the coil is drawn, around the rim
}

TEST_F(SceneTest, EndMarksFollowTheOneOutcomeOfTheLastPath) {
  SideView();
  sc.TrajectoryTotal = 2;
  const PixelPoint end1 = StorePath(1, 7, 50);
  const PixelPoint end2 = StorePath(2, 7, -50);

  sc.ScreenHit = false;
  Render();
  for (PixelPoint e : {end1, end2}) {
    EXPECT_EQ(Picture().At(e.x, e.y - 2), Blue) << "miss mark above the end " << e.x << "," << e.y;
    EXPECT_EQ(Picture().At(e.x + 1, e.y + 1), Blue);
    EXPECT_EQ(Picture().At(e.x + 3, e.y), Background);  // the path stops at its end
  }
  EXPECT_EQ(CountColour(Picture(), HitMark1), 0);
  EXPECT_EQ(CountColour(Picture(), HitMark2), 0);

  sc.ScreenHit = true;
  Render();
  EXPECT_EQ(Picture().At(end1.x, end1.y), HitMark1);
  EXPECT_EQ(Picture().At(end1.x, end1.y - 3), HitMark1);
  EXPECT_EQ(Picture().At(end2.x, end2.y), HitMark2);
  EXPECT_EQ(Picture().At(end2.x + 2, end2.y + 1), HitMark2);
  EXPECT_EQ(CountNear(HitMark2, end1, 5), 0);
  EXPECT_EQ(CountNear(HitMark1, end2, 5), 0);
  // No blue mark: near the end only the path itself, on its own row, is blue.
  for (PixelPoint e : {end1, end2})
    for (int y = e.y - 4; y <= e.y + 4; ++y)
      for (int x = e.x - 4; x <= e.x + 4; ++x)
        if (Picture().At(x, y) == Blue) {
          EXPECT_TRUE(y == e.y && x < e.x - 2) << x << "," << y;
        }
}

TEST_F(SceneTest, OnlyThePathsOfTheLatestComputationAreDrawn) {
  SideView();
  const PixelPoint end1 = StorePath(1, 7, 50);
  const PixelPoint stale = StorePath(2, 7, -50);  // left over from a two-path computation
  sc.TrajectoryTotal = 1;
  for (bool hit : {false, true}) {
    sc.ScreenHit = hit;
    Render();
    EXPECT_EQ(CountInRows(Blue, stale.y, 10), 0) << "nothing of path 2, hit " << hit;
    EXPECT_EQ(CountColour(Picture(), HitMark2), 0);
    EXPECT_EQ(Picture().At(end1.x - 100, end1.y), Blue);
    EXPECT_EQ(Picture().At(end1.x, end1.y - 1), hit ? HitMark1 : Blue);
  }
}

TEST_F(SceneTest, PathOfOneSampleGetsAMarkButNoLine) {
  SideView();
  StorePath(1, 7, 50);  // stale samples beyond the count
  const PixelPoint only = StorePath(1, 1, 50);
  sc.TrajectoryTotal = 1;
  for (bool hit : {false, true}) {
    sc.ScreenHit = hit;
    Render();
    const Pixel mark = hit ? HitMark1 : Blue;
    EXPECT_EQ(Picture().At(only.x, only.y - 1), mark);
    EXPECT_EQ(CountColour(Picture(), mark), CountNear(mark, only, 3))
        << "a line leads away, hit " << hit;
    EXPECT_EQ(CountColour(Picture(), Blue) + CountColour(Picture(), HitMark1),
              CountNear(mark, only, 3));
  }
}

TEST_F(SceneTest, PathWithoutSamplesGetsNoMarkAndReadsNoStaleSample) {
  SideView();
  sc.TrajectoryTotal = 2;
  const PixelPoint end1 = StorePath(1, 4, 50);
  const PixelPoint stale = StorePath(2, 6, -50);
  sc.TrajectoryCount[2] = 0;  // path 2 under computation
  for (bool hit : {false, true}) {
    sc.ScreenHit = hit;
    Render();
    EXPECT_EQ(CountInRows(Blue, stale.y, 10), 0) << "hit " << hit;
    EXPECT_EQ(CountColour(Picture(), HitMark2), 0);
    EXPECT_EQ(Picture().At(end1.x, end1.y - 1), hit ? HitMark1 : Blue);
  }
}

TEST_F(SceneTest, PathCountsOutsideTheirRangeReadNothingOutsideTheRows) {
  SideView();
  sc.TrajectoryTotal = -3;
  StorePath(1, 5, 50);
  Render();
  EXPECT_EQ(CountColour(Picture(), Blue), 0);
  sc.TrajectoryTotal = 1;
  sc.TrajectoryCount[1] = -7;
  Render();
  EXPECT_EQ(CountColour(Picture(), Blue), 0);
}

TEST_F(SceneTest, DottedTubeEdgesPaintTheirGapsOverTheCoil) {
  SideView();
  settings.coil_visible = true;
  Render();
  // From the side the upper edge line of the tube is pixel row 80 from
  // x = 45 to 675; the coil crosses it again and again.
  int red_beside = 0, black = 0, gaps = 0;
  for (int x = 60; x <= 660; ++x) {
    EXPECT_NE(Picture().At(x, 80), Red) << x;
    black += Picture().At(x, 80) == Black ? 1 : 0;
    gaps += Picture().At(x, 80) == Background ? 1 : 0;
    red_beside += Picture().At(x, 79) == Red ? 1 : 0;
  }
  EXPECT_GT(red_beside, 20);
  EXPECT_GT(black, 250);
  EXPECT_GT(gaps, 250);
  EXPECT_EQ(black + gaps, 601);
}

TEST_F(SceneTest, CoilIsRedOnlyWhileVisible) {
  for (bool visible : {false, true}) {
    settings.coil_visible = visible;
    Render();
    if (visible) EXPECT_GT(CountColour(Picture(), Red), 5000);
    else EXPECT_EQ(CountColour(Picture(), Red), 0);
  }
}

TEST_F(SceneTest, EveryPassStartsFromTheBackgroundBrush) {
  // The fill leaves the brush green; the next pass must still fill the
  // source circle with the background and give the same picture.
  Render();
  const std::vector<Pixel> first = Picture().pixels;
  Render();
  EXPECT_EQ(Picture().pixels, first);
  const PixelPoint s = ProjectPoint(sc.SourceView[1], 1);
  EXPECT_EQ(Picture().At(s.x, s.y), Background);
}

TEST_F(SceneTest, WiderPathPenDrawsWiderPaths) {
  SideView();
  sc.TrajectoryTotal = 1;
  StorePath(1, 7, 50);
  sc.ScreenHit = true;
  int blue[3] = {};
  for (int width : {1, 2}) {
    settings.path_width = static_cast<std::uint8_t>(width);
    Render();
    blue[width] = CountColour(Picture(), Blue);
  }
  EXPECT_GT(blue[1], 250);
  EXPECT_GT(blue[2], blue[1] * 3 / 2);
}

}  // namespace
}  // namespace varek
