// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "model/trajectories.h"
#include "model_fixture.h"

namespace varek {
namespace {

using TrajectoriesTest = ModelTest;

struct PathCase {
  std::string name;
  Settings settings;
  int total;
  int steps;
  bool screen_hit;
  int count;  // of every path
  std::optional<Vec3i> first;
  std::optional<Vec3i> last[2];
};

TEST_F(TrajectoriesTest, OneCallForTheSettings) {
  // clang-format off
  const PathCase cases[] = {
      {"off, dc, 1200 V, 0 mA", Paths(1200, 0, false, true), 1, 12169, true, 405,
       Point(-313, 0, 0), {Point(314, 0, 0)}},
      {"off, dc, 1200 V, 1000 mA", Paths(1200, 1000, false, true), 1, 12169, true, 405,
       Point(-313, 0, 0), {Point(314, 0, 0)}},
      {"off, dc, 1200 V, 3000 mA", Paths(1200, 3000, false, true), 1, 12169, true, 405,
       Point(-313, 0, 0), {Point(314, 0, 0)}},
      {"off, dc, 50 V", Paths(50, 0, false, true), 1, 59612, true, 1987, Point(-315, 0, 0),
       {Point(315, 0, 0)}},
      {"off, dc, 2000 V", Paths(2000, 0, false, true), 1, 9426, true, 314, std::nullopt, {}},
      {"off, ac", Paths(1200, 0, false, false), 2, 12169, true, 405, Point(-313, 0, 0),
       {Point(314, 0, 0), Point(314, 0, 0)}},
      {"on, amplitude 0", Paths(1200, 0, true, true, 0), 1, 12169, true, 405, Point(-313, 0, 0),
       {Point(314, 0, 0)}},
      {"on, 200, 1200 V, 0 mA, dc", Paths(1200, 0, true, true, 200), 1, 6314, false, 210,
       std::nullopt, {Point(11, 140, 0)}},
      {"on, 200, 1200 V, 0 mA, ac", Paths(1200, 0, true, false, 200), 2, 6314, false, 210,
       std::nullopt, {Point(11, 140, 0), Point(11, -140, 0)}},
      {"on, 300, 50 V, 0 mA, dc", Paths(50, 0, true, true, 300), 1, 1337, false, 44, std::nullopt,
       {}},
      {"on, 300, 50 V, 3000 mA, ac", Paths(50, 3000, true, false, 300), 2, 1642, false, 54,
       std::nullopt, {Point(-298, 27, -23), Point(-298, -27, 23)}},
      {"on, 10, 1200 V, 1000 mA, ac", Paths(1200, 1000, true, false, 10), 2, 12169, true, 405,
       std::nullopt, {Point(314, -3, -2), Point(314, 3, 2)}},
  };
  // clang-format on
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.name);
    settings = c.settings;
    Compute();
    ASSERT_EQ(sc.TrajectoryTotal, c.total);
    EXPECT_EQ(sc.StepCounter, c.steps);
    EXPECT_EQ(sc.ScreenHit, c.screen_hit);
    for (int p = 1; p <= c.total; ++p) {
      EXPECT_EQ(sc.TrajectoryCount[p], c.count) << "path " << p;
      if (c.first) {
        EXPECT_EQ(sc.TrajectoryPoints[p][1], *c.first) << "path " << p;
      }
      if (c.last[p - 1]) {
        EXPECT_EQ(sc.TrajectoryPoints[p][c.count], *c.last[p - 1]) << "path " << p;
      }
    }
  }
}

TEST_F(TrajectoriesTest, WithoutDeflectionThePathStaysOnTheAxis) {
  const Settings cases[] = {Paths(1200, 0, false, true), Paths(1200, 3000, false, false),
                            Paths(50, 1500, false, true), Paths(1200, 2000, true, false, 0),
                            Paths(2000, 0, false, false)};
  for (const Settings& s : cases) {
    settings = s;
    Compute();
    for (int p = 1; p <= sc.TrajectoryTotal; ++p)
      for (int i = 1; i <= sc.TrajectoryCount[p]; ++i) {
        ASSERT_EQ(sc.TrajectoryPoints[p][i].y, 0) << s.voltage << " V, path " << p << ", " << i;
        ASSERT_EQ(sc.TrajectoryPoints[p][i].z, 0) << s.voltage << " V, path " << p << ", " << i;
      }
  }
}

// The axial speed never changes, so x grows by 2 h v per step (h = 2e-13 s),
// from -0.05 m until it passes +0.05 m; one sample every 30 steps.
TEST_F(TrajectoriesTest, StepsAndSamplesFollowTheAxialSpeed) {
  for (int volts : {50, 51, 333, 1200, 1999, 2000}) {
    SCOPED_TRACE(volts);
    settings.voltage = volts;
    Compute();
    const double per_step = 2 * 2e-13 * std::sqrt(volts * 3.517640348e11);  // m
    const int steps = static_cast<int>(std::ceil(0.1 / per_step));
    EXPECT_NEAR(sc.StepCounter, steps, 1);
    EXPECT_EQ(sc.TrajectoryCount[1], sc.StepCounter / 30);
    EXPECT_EQ(pump.calls, sc.StepCounter / 30);
    for (int i = 1; i <= sc.TrajectoryCount[1]; ++i)
      ASSERT_NEAR(sc.TrajectoryPoints[1][i].x, (-0.05 + 30 * i * per_step) * 6300, 0.51) << i;
    pump.calls = 0;
  }
}

// Path 2 of the alternating voltage is path 1's mirror image and is not
// integrated, so it runs no pump of its own.
TEST_F(TrajectoriesTest, PumpRunsOnceEveryThirtyStepsOfPathOne) {
  Compute();
  EXPECT_EQ(sc.StepCounter, 12169);
  EXPECT_EQ(pump.calls, 405);
  settings.voltage = 50;
  settings.steady = false;
  pump.calls = 0;
  Compute();
  EXPECT_EQ(pump.calls, 1987);
}

// A computation run in parts, as the page's idle work runs, gives the paths
// of one run to the bit, whatever the parts' size.
TEST_F(TrajectoriesTest, InPartsTheSamePathsAsInOneRun) {
  struct NeverEnds : StepObserver {
    bool EndPathNow() override { return false; }
  } never;
  const Settings cases[] = {Paths(50, 2000, true, false, 5), Paths(50, 0, true, false, 0),
                            Paths(1200, 1230, true, true, 200), Paths(50, 3000, true, false, 300)};
  for (const Settings& s : cases) {
    settings = s;
    Compute();
    for (const int part : {1, 7, 100}) {
      SCOPED_TRACE(testing::Message()
                   << s.voltage << " V, " << s.current << " mA, parts of " << part);
      const auto parts = std::make_unique<Scene>();
      PathIntegration integration(*parts, s, never);
      int calls = 1;
      while (!integration.Continue(part)) ++calls;
      EXPECT_GT(calls, sc.TrajectoryCount[1] / part);
      ASSERT_EQ(parts->TrajectoryTotal, sc.TrajectoryTotal);
      EXPECT_EQ(parts->StepCounter, sc.StepCounter);
      EXPECT_EQ(parts->ScreenHit, sc.ScreenHit);
      EXPECT_TRUE(parts->BeamSpeed == sc.BeamSpeed);
      for (int p = 1; p <= sc.TrajectoryTotal; ++p) {
        ASSERT_EQ(parts->TrajectoryCount[p], sc.TrajectoryCount[p]);
        for (int i = 1; i <= sc.TrajectoryCount[p]; ++i)
          ASSERT_EQ(parts->TrajectoryPoints[p][i], sc.TrajectoryPoints[p][i])
              << "path " << p << ", " << i;
      }
    }
  }
}

// Reversing the deflecting voltage mirrors the path through the axis: the
// equations are odd in (y, z, vy, vz, a), and rounding is symmetric.
TEST_F(TrajectoriesTest, AlternatingPathsAreMirrorImages) {
  const Settings cases[] = {Paths(1200, 0, true, false, 200), Paths(50, 3000, true, false, 300),
                            Paths(1200, 1000, true, false, 10), Paths(700, 2500, true, false, 150),
                            Paths(2000, 400, true, false, 1)};
  for (const Settings& s : cases) {
    settings = s;
    Compute();
    ASSERT_EQ(sc.TrajectoryTotal, 2);
    ASSERT_EQ(sc.TrajectoryCount[1], sc.TrajectoryCount[2]);
    for (int i = 1; i <= sc.TrajectoryCount[1]; ++i) {
      const Vec3i& a = sc.TrajectoryPoints[1][i];
      ASSERT_EQ(sc.TrajectoryPoints[2][i], Point(a.x, -a.y, -a.z)) << s.voltage << " V, " << i;
    }
  }
}

TEST_F(TrajectoriesTest, DeflectionBendsTowardsTheUpperPlateAndTheFieldTurnsIt) {
  settings = Paths(50, 0, true, true, 300);
  Compute();
  const Vec3i last = sc.TrajectoryPoints[1][sc.TrajectoryCount[1]];
  EXPECT_GT(last.y, 20);  // close to the upper plate at y = 27
  EXPECT_LE(last.y, 27);
  EXPECT_EQ(last.z, 0);  // no field, no turn

  // With the field, the sideways motion turns from +y towards -z.
  settings = Paths(1200, 1000, true, true, 10);
  Compute();
  int i = 1;
  while (i <= sc.TrajectoryCount[1] && sc.TrajectoryPoints[1][i].z == 0) ++i;
  ASSERT_LE(i, sc.TrajectoryCount[1]);
  EXPECT_LT(sc.TrajectoryPoints[1][i].z, 0);
  EXPECT_GT(sc.TrajectoryPoints[1][i].y, 0);
}

// A computation integrates the settings it was given when it started; a
// change made inside its pump waits for the next computation.
TEST_F(TrajectoriesTest, ChangesInsideThePumpDoNotReachTheRunningComputation) {
  settings = Paths(1200, 1000, true, false, 10);
  pump.hook = [&] {
    if (pump.calls != 1) return;
    settings.voltage = 50;
    settings.current = 3000;
    settings.amplitude = 300;
    settings.steady = true;
  };
  Compute();
  ASSERT_EQ(sc.TrajectoryTotal, 2);
  EXPECT_EQ(sc.TrajectoryCount[1], 405);
  EXPECT_EQ(sc.TrajectoryCount[2], 405);
  EXPECT_EQ(sc.TrajectoryPoints[1][405], Point(314, -3, -2));
  EXPECT_EQ(sc.TrajectoryPoints[2][405], Point(314, 3, 2));
  EXPECT_EQ(sc.BeamSpeed, BeamSpeedFor(1200));
}

}  // namespace
}  // namespace varek
