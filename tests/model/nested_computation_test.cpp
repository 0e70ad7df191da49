// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Handlers that run inside the message pump of a running computation: the
// "ENDE" button, a handler that asks for a computation, one that throws.
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
  for (int i = 1; i <= 10; ++i)
    EXPECT_EQ(sc.TrajectoryPoints[1][i], sc.TrajectoryPoints[2][i]) << i;
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

// The window's chain never calls from inside the pump; a call that does
// anyway changes nothing and starts nothing afterwards.
TEST_F(NestedComputationTest, ACallFromThePumpDoesNothing) {
  settings.steady = false;
  pump.hook = [&] {
    ASSERT_TRUE(model.ComputationRunning());
    const auto steps = sc.StepCounter;
    const Extended speed = sc.BeamSpeed;
    const int count1 = sc.TrajectoryCount[1], calls = pump.calls;
    Settings changed = settings;
    changed.voltage = 50;  // would change BeamSpeed if it computed
    model.ComputeTrajectories(changed);
    EXPECT_EQ(pump.calls, calls);
    EXPECT_EQ(sc.StepCounter, steps);
    EXPECT_EQ(sc.BeamSpeed, speed);
    EXPECT_EQ(sc.TrajectoryCount[1], count1);
  };
  Compute();
  EXPECT_EQ(pump.calls, 405);  // path 1 pumps; path 2 is its mirror image
  EXPECT_EQ(sc.TrajectoryTotal, 2);
  EXPECT_FALSE(model.ComputationRunning());
}

TEST_F(NestedComputationTest, AThrowingHandlerLeavesNoComputationRunning) {
  pump.hook = [&] {
    model.RequestStop();
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(Compute(), std::runtime_error);
  EXPECT_FALSE(model.ComputationRunning());
  pump.hook = nullptr;
  pump.calls = 0;
  Compute();
  EXPECT_EQ(pump.calls, 405);  // no stale stop from before
  EXPECT_EQ(sc.TrajectoryCount[1], 405);
}

}  // namespace
}  // namespace varek
