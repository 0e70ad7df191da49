// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Paths recalled from the cache draw the picture that their computation
// draws, on a scene that showed other paths before; the cache keeps the
// settings used last and asks nothing of the view; a result packed as bytes
// and kept by another cache is recalled as the same picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "model/path_cache.h"
#include "render/beam_marks.h"
#include "render/simulation.h"

namespace varek {
namespace {

Settings Paths(int voltage, int current, bool deflection, bool steady, int amplitude) {
  return {.voltage = voltage,
          .current = current,
          .amplitude = amplitude,
          .deflection_on = deflection,
          .steady = steady};
}

// The heavy and the start-up settings, the wall, the plates, the edges of
// the ranges, and random settings with random views.
std::vector<Settings> Corpus() {
  std::vector<Settings> corpus = {
      Paths(50, 2000, true, false, 5),   Paths(50, 1000, true, false, 10),
      Paths(1200, 0, false, true, 200),  Paths(1200, 1230, true, false, 200),
      Paths(50, 3000, true, false, 300), Paths(600, 0, true, true, 200),
      Paths(2000, 3000, true, true, 0),  Paths(50, 0, true, false, 0),
  };
  std::mt19937 random(20261209);
  auto pick = [&](Range r) {
    return std::uniform_int_distribution<int>(r.lowest, r.highest)(random);
  };
  for (int k = 0; k < 24; ++k) {
    Settings s =
        Paths(pick(VoltageRange), pick(CurrentRange), k % 4 != 0, k % 3 == 0, pick(AmplitudeRange));
    s.turn_axis = pick(TurnAxisRange);
    s.turn_vertical = pick(TurnVerticalRange);
    corpus.push_back(s);
  }
  return corpus;
}

TEST(PathCacheTest, RecalledPathsDrawTheComputedPictureAndMarks) {
  const std::vector<Settings> corpus = Corpus();
  PathCache cache(corpus.size());
  Simulation computing;
  for (const Settings& s : corpus) {
    computing.ComputeTrajectories(s);
    cache.Keep(s, computing.scene());
  }
  // Backwards, so that each recall replaces other paths, of one path or two.
  Simulation recalling;
  for (auto s = corpus.rbegin(); s != corpus.rend(); ++s) {
    ASSERT_TRUE(cache.Recall(*s, recalling.model().mutable_scene()));
    computing.ComputeTrajectories(*s);
    const std::vector<Pixel> computed = computing.RenderScene(*s).pixels;
    EXPECT_EQ(recalling.RenderScene(*s).pixels, computed)
        << s->voltage << " V, " << s->current << " mA, amplitude " << s->amplitude;
    EXPECT_EQ(DescribeBeamMarks(recalling.scene()), DescribeBeamMarks(computing.scene()));
    EXPECT_EQ(recalling.scene().ScreenHit, computing.scene().ScreenHit);
  }
}

TEST(PathCacheTest, PackedResultsKeptByAnotherCacheDrawTheComputedPicture) {
  const std::vector<Settings> corpus = Corpus();
  PathCache computed(corpus.size()), passed(corpus.size());
  Simulation computing, recalling;
  for (const Settings& s : corpus) {
    computing.ComputeTrajectories(s);
    computed.Keep(s, computing.scene());
    const std::vector<std::uint8_t> bytes = computed.Packed(s);
    // Cut short, one byte too many, or kept nowhere: refused, nothing kept.
    Settings other = s;
    other.voltage = s.voltage == 50 ? 51 : 50;
    EXPECT_FALSE(passed.KeepPacked(other, std::span(bytes).first(bytes.size() - 1)));
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(passed.KeepPacked(other, longer));
    EXPECT_TRUE(passed.Packed(other).empty());
    ASSERT_TRUE(passed.KeepPacked(s, bytes));
    EXPECT_EQ(passed.Packed(s), bytes);
  }
  for (const Settings& s : corpus) {
    ASSERT_TRUE(passed.Recall(s, recalling.model().mutable_scene()));
    computing.ComputeTrajectories(s);
    EXPECT_EQ(recalling.RenderScene(s).pixels, computing.RenderScene(s).pixels)
        << s.voltage << " V, " << s.current << " mA, amplitude " << s.amplitude;
    EXPECT_EQ(DescribeBeamMarks(recalling.scene()), DescribeBeamMarks(computing.scene()));
    EXPECT_EQ(recalling.scene().ScreenHit, computing.scene().ScreenHit);
    EXPECT_TRUE(recalling.scene().BeamSpeed == computing.scene().BeamSpeed);
    EXPECT_EQ(recalling.scene().StepCounter, computing.scene().StepCounter);
  }
}

TEST(PathCacheTest, KeepsTheSettingsUsedLastWhateverTheView) {
  const Settings a = Paths(50, 2000, true, false, 5), b = Paths(51, 2000, true, false, 5),
                 c = Paths(50, 2001, true, false, 5);
  Simulation simulation;
  PathCache cache(2);
  for (const Settings& s : {a, b}) {
    simulation.ComputeTrajectories(s);
    cache.Keep(s, simulation.scene());
  }
  Settings a_turned = a;
  a_turned.turn_axis = 90;
  a_turned.coil_visible = true;
  ASSERT_TRUE(cache.Recall(a_turned, simulation.model().mutable_scene()));
  simulation.ComputeTrajectories(c);
  cache.Keep(c, simulation.scene());
  const auto holds = [&](const Settings& s) { return !cache.Packed(s).empty(); };
  EXPECT_TRUE(holds(a));
  EXPECT_FALSE(holds(b));
  EXPECT_TRUE(holds(c));
  EXPECT_FALSE(holds(Paths(50, 2000, true, true, 5)));  // steady: other paths
}

TEST(PathCacheTest, NeighboursAreTheLastChangeOnwardsThenLineStepsThenPageSteps) {
  struct Row {
    Settings settings, before;
    std::vector<std::pair<int, int>> voltage_current;
  };
  const Settings focus = Paths(1200, 1230, true, false, 200);
  const std::vector<std::pair<int, int>> line_then_page = {{1200, 1231}, {1200, 1229}, {1201, 1230},
                                                           {1199, 1230}, {1200, 1240}, {1200, 1220},
                                                           {1210, 1230}, {1190, 1230}};
  const Row rows[] = {
      {focus, focus, line_then_page},
      {focus,
       Paths(1201, 1230, true, false, 200),
       {{1199, 1230},
        {1200, 1231},
        {1200, 1229},
        {1201, 1230},
        {1198, 1230},
        {1200, 1240},
        {1200, 1220},
        {1210, 1230},
        {1190, 1230}}},
      // A page step of the current: the next one first, the one after at once.
      {focus,
       Paths(1200, 1220, true, false, 200),
       {{1200, 1240},
        {1200, 1231},
        {1200, 1229},
        {1201, 1230},
        {1199, 1230},
        {1200, 1250},
        {1200, 1220},
        {1210, 1230},
        {1190, 1230}}},
      // The other settings of the paths changed: no way onwards.
      {focus, Paths(1200, 1230, true, true, 200), line_then_page},
      {Paths(50, 0, true, false, 200),
       Paths(51, 0, true, false, 200),
       {{50, 1}, {51, 0}, {50, 10}, {60, 0}}},
      {Paths(2000, 3000, false, true, 200),
       focus,
       {{2000, 2999}, {1999, 3000}, {2000, 2990}, {1990, 3000}}},
  };
  for (const Row& row : rows) {
    std::vector<std::pair<int, int>> found;
    for (const Settings& n : PathNeighbours(row.settings, row.before)) {
      found.emplace_back(n.voltage, n.current);
      EXPECT_EQ(n.amplitude, row.settings.amplitude);
      EXPECT_EQ(n.steady, row.settings.steady);
    }
    EXPECT_EQ(found, row.voltage_current) << row.settings.voltage << " V";
  }
}

}  // namespace
}  // namespace varek
