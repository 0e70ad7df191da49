// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/deflection_signal.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/render/pixel_art.h"

namespace varek {
namespace {

using testing::Black;
using testing::CountColour;
using testing::Red;
using testing::White;

// The axes picture: white, a two-pixel vertical axis on columns 0 and 1 and a
// two-pixel zero line on rows 24 and 25.
Bitmap Axes() {
  Bitmap axes(SignalWidth, SignalHeight, White);
  for (int y = 0; y < SignalHeight; ++y) axes.At(0, y) = axes.At(1, y) = Black;
  for (int x = 0; x < SignalWidth; ++x) axes.At(x, 24) = axes.At(x, 25) = Black;
  return axes;
}

class SignalTest : public ::testing::Test {
 protected:
  SignalTest() { plot.SetBackground(Axes()); }
  void DrawDeflectionSignal() { plot.DrawDeflectionSignal(settings); }
  const Bitmap& DeflectionSignalPlot() const { return plot.Plot(); }

  // Rows of the red pixels of column x.
  std::set<int> RedRows(int x) const {
    std::set<int> rows;
    for (int y = 0; y < SignalHeight; ++y)
      if (DeflectionSignalPlot().At(x, y) == Red) rows.insert(y);
    return rows;
  }

  Settings settings;
  DeflectionPlot plot;
};

struct Levels {
  int amplitude, upper, lower;
};
const Levels LevelCases[] = {{0, 25, 25},  {7, 25, 25},   {8, 24, 26}, {22, 24, 26},
                             {23, 23, 27}, {200, 12, 38}, {300, 5, 45}};

TEST_F(SignalTest, SquareWaveHasFourPeriodsBetweenItsTwoLevels) {
  settings.steady = false;
  for (const Levels& c : LevelCases) {
    settings.amplitude = c.amplitude;
    DrawDeflectionSignal();
    std::set<int> all;
    for (int y = c.upper; y <= c.lower; ++y) all.insert(y);
    for (int x = 1; x < SignalWidth - 1; ++x) {
      // 30 pixels up, 30 down; the steps stand on columns 30, 60, ... 210.
      const std::set<int> expected =
          x % 30 == 0 ? all : std::set<int>{(x / 30) % 2 == 0 ? c.upper : c.lower};
      ASSERT_EQ(RedRows(x), expected) << "amplitude " << c.amplitude << " column " << x;
    }
    EXPECT_TRUE(RedRows(0).empty());
    EXPECT_TRUE(RedRows(240).empty()) << "the end point of the last segment is not painted";
  }
}

TEST_F(SignalTest, SteadyVoltageIsAFlatLineOnTheUpperLevel) {
  for (const Levels& c : LevelCases) {
    settings.amplitude = c.amplitude;
    DrawDeflectionSignal();
    for (int x = 1; x < SignalWidth - 1; ++x)
      ASSERT_EQ(RedRows(x), std::set<int>{c.upper}) << c.amplitude << " " << x;
    EXPECT_EQ(CountColour(DeflectionSignalPlot(), Red), 239);
  }
}

TEST_F(SignalTest, EachDrawingWipesThePreviousCurve) {
  settings.steady = false;
  settings.amplitude = 300;
  DrawDeflectionSignal();
  settings.steady = true;
  settings.amplitude = 0;
  DrawDeflectionSignal();
  for (int x = 2; x < SignalWidth; ++x) {  // right of the vertical axis
    EXPECT_EQ(DeflectionSignalPlot().At(x, 5), White) << x;
    EXPECT_EQ(DeflectionSignalPlot().At(x, 45), White) << x;
  }
  // A zero amplitude lies in the lower row of the zero line, the axis stays.
  EXPECT_EQ(DeflectionSignalPlot().At(100, 25), Red);
  EXPECT_EQ(DeflectionSignalPlot().At(100, 24), Black);
  EXPECT_EQ(DeflectionSignalPlot().At(0, 10), Black);
}

}  // namespace
}  // namespace varek
