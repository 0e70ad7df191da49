// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Handlers that run inside the message pump of a running computation: the
// "ENDE" button and handlers that start a new computation.
#include <algorithm>
#include <stdexcept>

#include "model_fixture.h"

namespace varek {
namespace {

using NestedComputationTest = ModelTest;

TEST_F(NestedComputationTest, EndeEndsThePathButTheNextOneRunsInFull) {
  settings.steady = false;  // two paths, identical without deflection
  pump.hook = [&] {
    if (pump.calls == 10) model.RequestStop();
  };
  Compute();
  EXPECT_EQ(sc.TrajectoryTotal, 2);
  EXPECT_EQ(sc.TrajectoryCount[1], 10);  // the sample of the stopping step is kept
  EXPECT_EQ(sc.TrajectoryCount[2], 405);
  EXPECT_EQ(sc.StepCounter, 12169);
  EXPECT_EQ(pump.calls, 10 + 405);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(sc.TrajectoryPoints[1][i], sc.TrajectoryPoints[2][i]) << i;
  EXPECT_EQ(sc.TrajectoryPoints[2][405], Point(314, 0, 0));
}

TEST_F(NestedComputationTest, EndeInTheLastPathEndsItAtThatPump) {
  pump.hook = [&] {
    if (pump.calls == 3) model.RequestStop();
  };
  Compute();
  EXPECT_EQ(sc.TrajectoryCount[1], 3);
  EXPECT_EQ(sc.StepCounter, 3 * 30);
  EXPECT_TRUE(sc.ScreenHit);
  EXPECT_FALSE(model.ComputationRunning());
  // A stop asked for while nothing runs does not reach the next computation.
  model.RequestStop();
  pump.hook = nullptr;
  Compute();
  EXPECT_EQ(sc.TrajectoryCount[1], 405);
}

TEST_F(NestedComputationTest, EndeDropsAPendingRecomputation) {
  pump.hook = [&] {
    if (pump.calls == 5) model.ComputeTrajectories(settings);
    if (pump.calls == 10) model.RequestStop();
  };
  Compute();
  EXPECT_EQ(pump.calls, 10);
  EXPECT_EQ(sc.TrajectoryCount[1], 10);
  EXPECT_FALSE(model.ComputationRunning());
}

TEST_F(NestedComputationTest, ACallFromThePumpTouchesNothingAndReturns) {
  settings.steady = false;
  int checked = 0;
  pump.hook = [&] {
    ASSERT_TRUE(model.ComputationRunning());
    if (checked == 405) return;  // the first run only; the run it asks for is left alone
    const auto steps = sc.StepCounter;
    const auto total = sc.TrajectoryTotal;
    const Extended speed = sc.BeamSpeed;
    const int count1 = sc.TrajectoryCount[1], calls = pump.calls;
    Settings changed = settings;
    changed.voltage = 50;  // would change BeamSpeed if it computed
    changed.steady = true;
    model.ComputeTrajectories(changed);
    EXPECT_EQ(pump.calls, calls);
    EXPECT_EQ(sc.StepCounter, steps);
    EXPECT_EQ(sc.TrajectoryTotal, total);
    EXPECT_EQ(sc.BeamSpeed, speed);
    EXPECT_EQ(sc.TrajectoryCount[1], count1);
    ++checked;
  };
  Compute();
  EXPECT_EQ(checked, 405);  // path 1 pumps; path 2 is its mirror image
  // Then one more run, with the settings of the latest request: 50 V, one path.
  EXPECT_EQ(pump.calls, 405 + 1987);
  EXPECT_EQ(sc.TrajectoryTotal, 1);
  EXPECT_EQ(sc.BeamSpeed, BeamSpeedFor(50));
  EXPECT_FALSE(model.ComputationRunning());
}

// A long stream of handlers that change the voltage and recompute, from
// inside the pump of a running computation.
TEST_F(NestedComputationTest, AStreamOfRecomputationsEndsWithTheLatestSettings) {
  settings.voltage = 50;
  settings.steady = false;
  settings.deflection_on = true;
  settings.amplitude = 300;
  settings.current = 3000;
  constexpr int Requests = 5000;
  int requests = 0, depth = 0, max_depth = 0, max_count = 0;
  pump.hook = [&] {
    max_depth = std::max(max_depth, ++depth);
    for (int p = 1; p <= MaxPaths; ++p) max_count = std::max<int>(max_count, sc.TrajectoryCount[p]);
    if (requests < Requests) {
      ++requests;
      settings.voltage = 50 + (requests * 37) % 1951;
      settings.deflection_on = requests % 3 != 0;
      if (requests == Requests) {  // the last settings: 50 V, deflection off
        settings.voltage = 50;
        settings.deflection_on = false;
      }
      model.ComputeTrajectories(settings);
    }
    --depth;
  };
  Compute();
  EXPECT_EQ(requests, Requests);
  EXPECT_EQ(max_depth, 1);
  EXPECT_LE(max_count, 1987);
  EXPECT_FALSE(model.ComputationRunning());

  // The stored paths are those of 50 V without deflection, in two paths.
  ASSERT_EQ(sc.TrajectoryTotal, 2);
  EXPECT_EQ(sc.StepCounter, 59612);
  EXPECT_TRUE(sc.ScreenHit);
  for (int p = 1; p <= 2; ++p) {
    ASSERT_EQ(sc.TrajectoryCount[p], 1987);
    EXPECT_EQ(sc.TrajectoryPoints[p][1], Point(-315, 0, 0));
    EXPECT_EQ(sc.TrajectoryPoints[p][1987], Point(315, 0, 0));
  }
  // ... and the same as those of a fresh computation with those settings.
  Model fresh(settings);
  fresh.ComputeTrajectories(settings);
  for (int p = 1; p <= 2; ++p)
    for (int i = 1; i <= 1987; ++i)
      ASSERT_EQ(sc.TrajectoryPoints[p][i], fresh.scene().TrajectoryPoints[p][i]) << p << "/" << i;
}

TEST_F(NestedComputationTest, AThrowingHandlerLeavesNoComputationRunning) {
  pump.hook = [&] {
    model.ComputeTrajectories(settings);
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(Compute(), std::runtime_error);
  EXPECT_FALSE(model.ComputationRunning());
  pump.hook = nullptr;
  pump.calls = 0;
  Compute();
  EXPECT_EQ(pump.calls, 405);  // no stale request from before
  EXPECT_EQ(sc.TrajectoryCount[1], 405);
}

}  // namespace
}  // namespace varek
