// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The scene and the deflection plot drawn k times as large show the same
// figure as the 1x picture, with sharp lines about k pixels wide.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "render/simulation.h"
#include "tests/render/pixel_art.h"

namespace varek {
namespace {

using testing::Background;
using testing::Blue;

// Drawn pixels of `drawn` (any colour but `ground`) with no drawn pixel of
// `other` within `reach`, `other` being seen at `ratio` device pixels of
// `drawn` per pixel of it. Where figures overlap, the later one may cover a
// slightly different part of the earlier one at another scale, so the
// colours are compared as a whole, not pixel by pixel.
int Strays(const Bitmap& drawn, const Bitmap& other, double ratio, int reach, Pixel ground) {
  int strays = 0;
  for (int y = 0; y < drawn.height; ++y)
    for (int x = 0; x < drawn.width; ++x) {
      if (drawn.At(x, y) == ground) continue;
      bool near = false;
      for (int dy = -reach; dy <= reach && !near; ++dy)
        for (int dx = -reach; dx <= reach && !near; ++dx) {
          const int ox = static_cast<int>(std::floor((x + dx) / ratio));
          const int oy = static_cast<int>(std::floor((y + dy) / ratio));
          near = other.Contains(ox, oy) && other.At(ox, oy) != ground;
        }
      strays += near ? 0 : 1;
    }
  return strays;
}

std::set<Pixel> Colours(const Bitmap& bitmap) {
  return {bitmap.pixels.begin(), bitmap.pixels.end()};
}

// Every drawn pixel at k lies within about k pixels of a drawn pixel of the 1x
// picture magnified, and every drawn pixel of that within k of the k picture;
// no colour appears that the 1x picture lacks (no blending).
void ExpectSameFigure(const Bitmap& one, const Bitmap& scaled, double k, Pixel ground,
                      const std::string& what) {
  // k, and one pixel more: a vertex of a line rounds on its own at each scale,
  // so a short segment of a dotted ring can start a pixel further off.
  const int reach = static_cast<int>(std::ceil(k)) + 1;
  EXPECT_EQ(Strays(scaled, one, k, reach, ground), 0) << what << " at " << k;
  // The reverse: a pixel of the 1x picture covers a k x k block of the device.
  int missing = 0;
  for (int y = 0; y < one.height; ++y)
    for (int x = 0; x < one.width; ++x) {
      if (one.At(x, y) == ground) continue;
      const int cx = static_cast<int>((x + 0.5) * k), cy = static_cast<int>((y + 0.5) * k);
      bool near = false;
      for (int dy = -reach; dy <= reach && !near; ++dy)
        for (int dx = -reach; dx <= reach && !near; ++dx)
          near = scaled.Contains(cx + dx, cy + dy) && scaled.At(cx + dx, cy + dy) != ground;
      missing += near ? 0 : 1;
    }
  EXPECT_EQ(missing, 0) << what << " at " << k << ", reverse";
  const std::set<Pixel> own = Colours(one);
  for (Pixel colour : Colours(scaled)) EXPECT_TRUE(own.count(colour) == 1) << what << " " << colour;
}

struct View {
  const char* name;
  int current, turn_axis, turn_vertical;
  bool coil, transparent, steady;
  int path_width;
};

constexpr View Views[] = {
    {"focused, coil shown", 1230, 5, -25, true, false, false, 1},
    {"wide paths, missing the screen", 3000, 40, -60, false, false, true, 2},
    {"see-through screen from the front", 600, 0, -90, true, true, false, 1},
    {"start-up view, no coil current", 0, 5, -25, false, false, true, 1},
};

constexpr double Scales[] = {1.5, 2, 3};

TEST(ScaledPicture, SceneAndPlotShowTheSameFigureAtEveryScale) {
  for (const View& view : Views) {
    Settings settings;
    settings.current = view.current;
    settings.deflection_on = true;
    settings.steady = view.steady;
    settings.turn_axis = view.turn_axis;
    settings.turn_vertical = view.turn_vertical;
    settings.coil_visible = view.coil;
    settings.screen_transparent = view.transparent;
    settings.path_width = view.path_width;
    Simulation simulation(settings);
    simulation.ComputeTrajectories(settings);
    const Bitmap one = simulation.RenderScene(settings);
    ASSERT_EQ(one.width, SceneWidth);
    Bitmap axes(SignalWidth, SignalHeight, testing::White);  // the axes picture's figure
    for (int y = 0; y < SignalHeight; ++y)
      for (int x = 0; x < SignalWidth; ++x)
        if (x <= 1 || y == 24 || y == 25) axes.At(x, y) = testing::Black;
    simulation.SetSignalBackground(axes);
    const Bitmap plot = simulation.DrawDeflectionSignal(settings);
    for (double k : Scales) {
      const Bitmap& scaled = simulation.RenderScene(settings, k);
      EXPECT_EQ(scaled.width, static_cast<int>(std::lround(720 * k))) << view.name;
      EXPECT_EQ(scaled.height, static_cast<int>(std::lround(440 * k))) << view.name;
      ExpectSameFigure(one, scaled, k, Background, view.name);
      ExpectSameFigure(plot, simulation.DrawDeflectionSignal(settings, k), k, testing::White,
                       std::string(view.name) + " (plot)");
    }
    EXPECT_EQ(simulation.RenderScene(settings, 1).pixels, one.pixels) << view.name;
  }
}

// Lengths of the runs of `colour` down column x.
std::multiset<int> RunsDown(const Bitmap& bitmap, int x, Pixel colour) {
  std::multiset<int> runs;
  int run = 0;
  for (int y = 0; y <= bitmap.height; ++y) {
    if (y < bitmap.height && bitmap.At(x, y) == colour) ++run;
    else if (run > 0) runs.insert(run), run = 0;
  }
  return runs;
}

// Straight paths seen from the side cross a column as bands as wide as the
// pen at that scale; the frame is as wide as a magnified one-pixel line.
TEST(ScaledPicture, LinesAreAsWideAsThePenTimesTheScale) {
  for (int path_width : {1, 2}) {
    for (double k : Scales) {
      Settings settings;
      settings.turn_axis = 0;
      settings.turn_vertical = 0;
      settings.path_width = path_width;
      Simulation simulation(settings);
      Scene& scene = simulation.model().mutable_scene();
      scene.TrajectoryTotal = 2;
      for (int p = 1; p <= 2; ++p) {
        for (int i = 1; i <= 8; ++i)
          scene.TrajectoryPoints[p][i] = {-200 + 50 * (i - 1), 40 * p, 0};
        scene.TrajectoryCount[p] = 8;
      }
      scene.ScreenHit = false;
      const Bitmap& picture = simulation.RenderScene(settings, k);
      const int pen = static_cast<int>(path_width == 1 ? std::nearbyint(k) : std::ceil(2 * k));
      const auto x = static_cast<int>(300 * k);  // between the plates and the screen
      EXPECT_EQ(RunsDown(picture, x, Blue), (std::multiset<int>{pen, pen}))
          << "pen " << path_width << " at " << k;
      const int band = static_cast<int>(std::nearbyint(k));
      EXPECT_EQ(RunsDown(picture, x, testing::Black).count(band), 2u) << "frame at " << k;
    }
  }
}

}  // namespace
}  // namespace varek
