#include <cmath>
#include <optional>
#include <string>

#include "model_fixture.h"

namespace varek {
namespace {

using TrajectoriesTest = ModelTest;

struct Settings {
  int voltage = 1200;
  int current = 0;
  bool deflection = false;
  bool steady = true;
  int amplitude = 200;
};

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

void Apply(const Settings& s, PlainControls& c) {
  c.voltage = s.voltage;
  c.current = s.current;
  c.deflection_on = s.deflection;
  c.steady = s.steady;
  c.amplitude = s.amplitude;
}

TEST_F(TrajectoriesTest, OneCallForTheSettings) {
  const PathCase cases[] = {
      {"off, dc, 1200 V, 0 mA", {1200, 0, false, true}, 1, 12169, true, 405,
       Point(-313, 0, 0), {Point(314, 0, 0)}},
      {"off, dc, 1200 V, 1000 mA", {1200, 1000, false, true}, 1, 12169, true, 405,
       Point(-313, 0, 0), {Point(314, 0, 0)}},
      {"off, dc, 1200 V, 3000 mA", {1200, 3000, false, true}, 1, 12169, true, 405,
       Point(-313, 0, 0), {Point(314, 0, 0)}},
      {"off, dc, 50 V", {50, 0, false, true}, 1, 59612, true, 1987, Point(-315, 0, 0),
       {Point(315, 0, 0)}},
      {"off, dc, 2000 V", {2000, 0, false, true}, 1, 9426, true, 314, std::nullopt, {}},
      {"off, ac", {1200, 0, false, false}, 2, 12169, true, 405, Point(-313, 0, 0),
       {Point(314, 0, 0), Point(314, 0, 0)}},
      {"on, amplitude 0", {1200, 0, true, true, 0}, 1, 12169, true, 405, Point(-313, 0, 0),
       {Point(314, 0, 0)}},
      {"on, 200, 1200 V, 0 mA, dc", {1200, 0, true, true, 200}, 1, 6314, false, 210,
       std::nullopt, {Point(11, 140, 0)}},
      {"on, 200, 1200 V, 0 mA, ac", {1200, 0, true, false, 200}, 2, 6314, false, 210,
       std::nullopt, {Point(11, 140, 0), Point(11, -140, 0)}},
      {"on, 300, 50 V, 0 mA, dc", {50, 0, true, true, 300}, 1, 1337, false, 44, std::nullopt,
       {}},
      {"on, 300, 50 V, 3000 mA, ac", {50, 3000, true, false, 300}, 2, 1642, false, 54,
       std::nullopt, {Point(-298, 27, -23), Point(-298, -27, 23)}},
      {"on, 10, 1200 V, 1000 mA, ac", {1200, 1000, true, false, 10}, 2, 12169, true, 405,
       std::nullopt, {Point(314, -3, -2), Point(314, 3, 2)}},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.name);
    Apply(c.settings, controls);
    Compute();
    ASSERT_EQ(TrajectoryTotal, c.total);
    EXPECT_EQ(StepCounter, c.steps);
    EXPECT_EQ(ScreenHit, c.screen_hit);
    EXPECT_EQ(TrajectoryIndex, c.total);
    EXPECT_EQ(StartX, -0.05L);
    EXPECT_EQ(VelocityX, BeamSpeed);  // nothing accelerates along the axis
    for (int p = 1; p <= c.total; ++p) {
      EXPECT_EQ(TrajectoryCount[p], c.count) << "path " << p;
      if (c.first) {
        EXPECT_EQ(TrajectoryPoints[p][1], *c.first) << "path " << p;
      }
      if (c.last[p - 1]) {
        EXPECT_EQ(TrajectoryPoints[p][c.count], *c.last[p - 1]) << "path " << p;
      }
    }
  }
}

TEST_F(TrajectoriesTest, WithoutDeflectionThePathStaysOnTheAxis) {
  const Settings cases[] = {{1200, 0, false, true},    {1200, 3000, false, false},
                            {50, 1500, false, true},   {1200, 2000, true, false, 0},
                            {2000, 0, false, false}};
  for (const Settings& s : cases) {
    Apply(s, controls);
    Compute();
    for (int p = 1; p <= TrajectoryTotal; ++p)
      for (int i = 1; i <= TrajectoryCount[p]; ++i) {
        ASSERT_EQ(TrajectoryPoints[p][i].y, 0) << s.voltage << " V, path " << p << ", " << i;
        ASSERT_EQ(TrajectoryPoints[p][i].z, 0) << s.voltage << " V, path " << p << ", " << i;
      }
  }
}

// The axial speed never changes, so x grows by 2 h v per step (h = 2e-13 s),
// from -0.05 m until it passes +0.05 m; one sample every 30 steps.
TEST_F(TrajectoriesTest, StepsAndSamplesFollowTheAxialSpeed) {
  for (int volts : {50, 51, 333, 1200, 1999, 2000}) {
    SCOPED_TRACE(volts);
    controls.voltage = volts;
    Compute();
    const double per_step = 2 * 2e-13 * std::sqrt(volts * 3.517640348e11);  // m
    const int steps = static_cast<int>(std::ceil(0.1 / per_step));
    EXPECT_NEAR(StepCounter, steps, 1);
    EXPECT_EQ(TrajectoryCount[1], StepCounter / 30);
    EXPECT_EQ(pump.calls, StepCounter / 30);
    for (int i = 1; i <= TrajectoryCount[1]; ++i)
      ASSERT_NEAR(TrajectoryPoints[1][i].x, (-0.05 + 30 * i * per_step) * 6300, 0.51) << i;
    pump.calls = 0;
  }
}

TEST_F(TrajectoriesTest, PumpRunsOnceEveryThirtySteps) {
  Compute();
  EXPECT_EQ(StepCounter, 12169);
  EXPECT_EQ(pump.calls, 405);
  controls.voltage = 50;
  controls.steady = false;
  pump.calls = 0;
  Compute();
  EXPECT_EQ(pump.calls, 2 * 1987);
}

// Reversing the deflecting voltage mirrors the path through the axis: the
// equations are odd in (y, z, vy, vz, a), and rounding is symmetric.
TEST_F(TrajectoriesTest, AlternatingPathsAreMirrorImages) {
  const Settings cases[] = {{1200, 0, true, false, 200},   {50, 3000, true, false, 300},
                            {1200, 1000, true, false, 10}, {700, 2500, true, false, 150},
                            {2000, 400, true, false, 1}};
  for (const Settings& s : cases) {
    Apply(s, controls);
    Compute();
    ASSERT_EQ(TrajectoryTotal, 2);
    ASSERT_EQ(TrajectoryCount[1], TrajectoryCount[2]);
    for (int i = 1; i <= TrajectoryCount[1]; ++i) {
      const Vec3i& a = TrajectoryPoints[1][i];
      ASSERT_EQ(TrajectoryPoints[2][i], Point(a.x, -a.y, -a.z)) << s.voltage << " V, " << i;
    }
  }
}

TEST_F(TrajectoriesTest, DeflectionBendsTowardsTheUpperPlateAndTheFieldTurnsIt) {
  Apply({50, 0, true, true, 300}, controls);
  Compute();
  const Vec3i last = TrajectoryPoints[1][TrajectoryCount[1]];
  EXPECT_GT(last.y, 20);  // close to the upper plate at y = 27
  EXPECT_LE(last.y, 27);
  EXPECT_EQ(last.z, 0);   // no field, no turn

  // With the field, the sideways motion turns from +y towards -z.
  Apply({1200, 1000, true, true, 10}, controls);
  Compute();
  int i = 1;
  while (i <= TrajectoryCount[1] && TrajectoryPoints[1][i].z == 0) ++i;
  ASSERT_LE(i, TrajectoryCount[1]);
  EXPECT_LT(TrajectoryPoints[1][i].z, 0);
  EXPECT_GT(TrajectoryPoints[1][i].y, 0);
}

// Counts the reads of each control.
struct CountingControls : PlainControls {
  mutable int amplitude_reads = 0, voltage_reads = 0, current_reads = 0, mode_reads = 0,
              switch_reads = 0;
  int ScrollBar3() const override { return ++amplitude_reads, amplitude; }
  int ScrollBar4() const override { return ++voltage_reads, voltage; }
  int ScrollBar7() const override { return ++current_reads, current; }
  bool Gleichspannung() const override { return ++mode_reads, steady; }
  bool AblenkEin() const override { return ++switch_reads, deflection_on; }
};

TEST_F(TrajectoriesTest, SettingsAreReadOncePerCallAndAmplitudeInTheField) {
  CountingControls counting;
  counting.steady = false;
  counting.current = 500;
  BindControls(&counting);
  Compute();
  EXPECT_EQ(counting.voltage_reads, 1);
  EXPECT_EQ(counting.current_reads, 1);
  EXPECT_EQ(counting.mode_reads, 1);
  EXPECT_EQ(counting.switch_reads, 2);
  // Steps that start below x = -0.04 m: the first 0.01 m of flight, per path.
  const double per_step = 2 * 2e-13 * 20545482.27;
  EXPECT_NEAR(counting.amplitude_reads, 2 * (std::floor(0.01 / per_step) + 1), 2);
}

TEST_F(TrajectoriesTest, HitsObstacleAtWallAndPlates) {
  const double gap = 27.0 / 6300;
  const struct {
    double x, y, z;
    bool hit;
  } cases[] = {
      {0, 0, 0, false},          {0, 0.02222, 0, true},       {0, 0, -0.02222, true},
      {0, 0.0222199, 0, false},  {0.049, 0.016, 0.016, true}, {0.049, 0.015, 0.015, false},
      {-0.0394, gap, 0, false},  {-0.0394, 0.0043, 0, true},  {-0.0394, -0.0043, 0.02, true},
      {-0.0394, -gap, 0, false}, {-0.03929, 0.0043, 0, false}, {-0.0392, -0.01, 0, false},
      // the double nearest -0.0393 lies just below the extended -0.0393
      {-0.0393, 0.0043, 0, true},
      {-0.05, 0.0043, 0.5, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HitsObstacle(c.x, c.y, c.z), c.hit) << c.x << ", " << c.y << ", " << c.z;
    EXPECT_EQ(ScreenHit, !c.hit);
  }
}

}  // namespace
}  // namespace varek
