// Handlers that run inside the message pump of a running computation: the
// "ENDE" button and handlers that start a new computation.
#include <algorithm>
#include <stdexcept>

#include "model_fixture.h"

namespace varek {
namespace {

using NestedComputationTest = ModelTest;

constexpr std::int32_t EndeValue = 200000;  // what the "ENDE" handler writes

TEST_F(NestedComputationTest, EndeEndsThePathButTheNextOneRunsInFull) {
  controls.steady = false;  // two paths, identical without deflection
  pump.hook = [&] {
    if (pump.calls == 10) StepCounter = EndeValue;
  };
  Compute();
  EXPECT_EQ(TrajectoryTotal, 2);
  EXPECT_EQ(TrajectoryCount[1], 10);  // the sample of the stopping step is kept
  EXPECT_EQ(TrajectoryCount[2], 405);
  EXPECT_EQ(StepCounter, 12169);
  EXPECT_EQ(pump.calls, 10 + 405);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(TrajectoryPoints[1][i], TrajectoryPoints[2][i]) << i;
  EXPECT_EQ(TrajectoryPoints[2][405], Point(314, 0, 0));
}

TEST_F(NestedComputationTest, EndeInTheLastPathLeavesItsValue) {
  pump.hook = [&] {
    if (pump.calls == 3) StepCounter = EndeValue;
  };
  Compute();
  EXPECT_EQ(TrajectoryCount[1], 3);
  EXPECT_EQ(StepCounter, EndeValue);
  EXPECT_TRUE(ScreenHit);
  EXPECT_FALSE(ComputationRunning());
}

TEST_F(NestedComputationTest, EndeDropsAPendingRecomputation) {
  pump.hook = [&] {
    if (pump.calls == 5) ComputeTrajectories();
    if (pump.calls == 10) StepCounter = EndeValue;
  };
  Compute();
  EXPECT_EQ(pump.calls, 10);
  EXPECT_EQ(TrajectoryCount[1], 10);
  EXPECT_FALSE(ComputationRunning());
}

TEST_F(NestedComputationTest, ACallFromThePumpTouchesNothingAndReturns) {
  controls.steady = false;
  int checked = 0;
  pump.hook = [&] {
    ASSERT_TRUE(ComputationRunning());
    if (checked == 2 * 405) return;  // the first run only; the run it asks for is left alone
    const auto index = TrajectoryIndex;
    const auto steps = StepCounter;
    const auto total = TrajectoryTotal;
    const Extended speed = BeamSpeed, vy = VelocityY, vz = VelocityZ;
    const int count1 = TrajectoryCount[1], calls = pump.calls;
    controls.voltage = 50;  // would change BeamSpeed if it computed
    controls.steady = true;
    ComputeTrajectories();
    EXPECT_EQ(pump.calls, calls);
    EXPECT_EQ(TrajectoryIndex, index);
    EXPECT_EQ(StepCounter, steps);
    EXPECT_EQ(TrajectoryTotal, total);
    EXPECT_EQ(BeamSpeed, speed);
    EXPECT_EQ(VelocityY, vy);
    EXPECT_EQ(VelocityZ, vz);
    EXPECT_EQ(TrajectoryCount[1], count1);
    controls.voltage = 1200;
    controls.steady = false;
    ++checked;
  };
  Compute();
  EXPECT_EQ(checked, 2 * 405);
  // Every request came with the same settings, so one more run of them.
  EXPECT_EQ(pump.calls, 2 * 2 * 405);
  EXPECT_FALSE(ComputationRunning());
}

// A long stream of handlers that change the voltage and recompute, from
// inside the pump of a running computation.
TEST_F(NestedComputationTest, AStreamOfRecomputationsEndsWithTheLatestSettings) {
  controls.voltage = 50;
  controls.steady = false;
  controls.deflection_on = true;
  controls.amplitude = 300;
  controls.current = 3000;
  constexpr int Requests = 5000;
  int requests = 0, depth = 0, max_depth = 0, max_count = 0;
  pump.hook = [&] {
    max_depth = std::max(max_depth, ++depth);
    for (int p = 1; p <= MaxPaths; ++p) max_count = std::max<int>(max_count, TrajectoryCount[p]);
    if (requests < Requests) {
      ++requests;
      controls.voltage = 50 + (requests * 37) % 1951;
      controls.deflection_on = requests % 3 != 0;
      if (requests == Requests) {  // the last settings: 50 V, deflection off
        controls.voltage = 50;
        controls.deflection_on = false;
      }
      ComputeTrajectories();
    }
    --depth;
  };
  Compute();
  EXPECT_EQ(requests, Requests);
  EXPECT_EQ(max_depth, 1);
  EXPECT_LE(max_count, 1987);
  EXPECT_FALSE(ComputationRunning());

  // The stored paths are those of 50 V without deflection, in two paths.
  ASSERT_EQ(TrajectoryTotal, 2);
  EXPECT_EQ(StepCounter, 59612);
  EXPECT_TRUE(ScreenHit);
  for (int p = 1; p <= 2; ++p) {
    ASSERT_EQ(TrajectoryCount[p], 1987);
    EXPECT_EQ(TrajectoryPoints[p][1], Point(-315, 0, 0));
    EXPECT_EQ(TrajectoryPoints[p][1987], Point(315, 0, 0));
  }
  // ... and the same as those of a fresh computation with those settings.
  PathTable stream_points = TrajectoryPoints;
  ResetScene();
  StartUpModel();
  BuildCoilAndRings();
  pump.hook = nullptr;
  Compute();
  for (int p = 1; p <= 2; ++p)
    for (int i = 1; i <= 1987; ++i)
      ASSERT_EQ(stream_points[p][i], TrajectoryPoints[p][i]) << p << "/" << i;
}

TEST_F(NestedComputationTest, AThrowingHandlerLeavesNoComputationRunning) {
  pump.hook = [&] {
    ComputeTrajectories();
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(Compute(), std::runtime_error);
  EXPECT_FALSE(ComputationRunning());
  pump.hook = nullptr;
  pump.calls = 0;
  Compute();
  EXPECT_EQ(pump.calls, 405);  // no stale request from before
  EXPECT_EQ(TrajectoryCount[1], 405);
}

}  // namespace
}  // namespace varek
