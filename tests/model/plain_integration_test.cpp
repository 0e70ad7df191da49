// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The model's paths against a plain integration that computes every path
// step by step, path 2 included (the model takes path 2 of the alternating
// voltage as the mirror image of path 1), on a few hundred settings.
#include <random>
#include <vector>

#include "model/trajectories.h"
#include "model_fixture.h"

namespace varek {
namespace {

// End test for a point in metres, plainly: true when it lies on or outside
// the tube wall or, in the plate region, beyond a plate; `screen_hit` becomes
// the negation.
bool HitsObstacle(double x, double y, double z, bool& screen_hit) {
  screen_hit = true;
  bool hit = false;
  // distance from the axis, formed in extended and rounded to double
  const double r =
      static_cast<double>(Sqrt(static_cast<Extended>(z) * z + static_cast<Extended>(y) * y));
  if (!(r < TubeInnerRadius)) {  // tube wall
    hit = true;
    screen_hit = false;
  }
  if (x < PlateEndX && y > PlateHalfGap) {  // upper plate
    hit = true;
    screen_hit = false;
  }
  if (x < PlateEndX && y < -PlateHalfGap) {  // lower plate
    hit = true;
    screen_hit = false;
  }
  return hit;
}

struct PlainPath {
  std::vector<Vec3i> samples;
  std::int32_t steps = 0;
  bool screen_hit = true;
};

// Path `i` (1 or 2) of `s`: every stage in full, the end test at every step.
PlainPath IntegratePlainly(const Settings& s, int i) {
  const Extended h = 0xe.12e13424bb40e13p-46L;  // 2e-13 s
  const Extended speed = BeamSpeedFor(s.voltage);
  const Extended omega = static_cast<Extended>(s.current) / MilliampsPerAmp *
                         (SpecificCharge * VacuumPermeability * CoilTurns) / CoilLength;
  const int b = s.deflection_on ? 1 : 0;
  const Extended a_plates =
      -b * (2 * i - 3) * (s.amplitude / Extended{100}) * Extended{0x8.e1bc9bf04p+50L};  // 1e16
  PlainPath path;
  Extended x = GunX, y = 0, z = 0, vx = speed, vy = 0, vz = 0;
  for (;;) {
    ++path.steps;
    const Extended a = x < FieldRegionEndX ? a_plates : Extended{0};
    const Extended vx0 = vx, vy0 = vy, vz0 = vz;
    const Extended k1x = 0, k1y = vz * omega + a, k1z = -vy * omega;
    vx = k1x * h / 2 + vx, vy = k1y * h / 2 + vy, vz = k1z * h / 2 + vz;
    const Extended k2x = 0, k2y = vz * omega + a, k2z = -vy * omega;
    vx = k2x * h / 2 + vx0, vy = k2y * h / 2 + vy0, vz = k2z * h / 2 + vz0;
    const Extended k3x = 0, k3y = vz * omega + a, k3z = -vy * omega;
    vx = k3x * h + vx0, vy = k3y * h + vy0, vz = k3z * h + vz0;
    x = vx * h + x, y = vy * h + y, z = vz * h + z;
    const Extended k4x = 0, k4y = vz * omega + a, k4z = -vy * omega;
    vx = (k2x * 2 + k1x + k3x * 2 + k4x) * (Extended{1} / 6) * h + vx;
    vy = (k2y * 2 + k1y + k3y * 2 + k4y) * (Extended{1} / 6) * h + vy;
    vz = (k2z * 2 + k1z + k3z * 2 + k4z) * (Extended{1} / 6) * h + vz;
    x = vx * h + x, y = vy * h + y, z = vz * h + z;
    if (path.steps % 30 == 0)
      path.samples.push_back({RoundEven(x * 6300), RoundEven(y * 6300), RoundEven(z * 6300)});
    if (path.steps >= 100000 || x > ScreenPlaneX) break;
    if (HitsObstacle(static_cast<double>(x), static_cast<double>(y), static_cast<double>(z),
                     path.screen_hit))
      break;
  }
  return path;
}

std::vector<Settings> Corpus() {
  std::vector<Settings> corpus;
  corpus.reserve(240 + 3 * 5 * 5);
  std::mt19937 random(20261208);
  auto pick = [&](Range r) {
    return std::uniform_int_distribution<int>(r.lowest, r.highest)(random);
  };
  for (int k = 0; k < 240; ++k)
    corpus.push_back(Paths(pick(VoltageRange), pick(CurrentRange), k % 5 != 0, k % 4 == 0,
                           pick(AmplitudeRange)));
  for (int voltage : {50, 51, 2000})
    for (int current : {0, 1, 1000, 2000, 3000})
      for (int amplitude : {0, 1, 5, 10, 300})
        corpus.push_back(Paths(voltage, current, true, false, amplitude));
  return corpus;
}

TEST(PlainIntegrationTest, EveryPathAndSampleEqualsTheStepByStepIntegration) {
  Model model;
  for (const Settings& s : Corpus()) {
    model.ComputeTrajectories(s);
    const Scene& sc = model.scene();
    ASSERT_EQ(sc.TrajectoryTotal, s.steady ? 1 : 2);
    PlainPath plain;
    for (int i = 1; i <= sc.TrajectoryTotal; ++i) {
      plain = IntegratePlainly(s, i);
      ASSERT_EQ(static_cast<std::size_t>(sc.TrajectoryCount[i]), plain.samples.size())
          << s.voltage << " V, " << s.current << " mA, amplitude " << s.amplitude << ", path " << i;
      for (std::size_t k = 0; k < plain.samples.size(); ++k)
        ASSERT_EQ(sc.TrajectoryPoints[i][static_cast<int>(k) + 1], plain.samples[k])
            << s.voltage << " V, " << s.current << " mA, amplitude " << s.amplitude << ", path "
            << i << ", sample " << k + 1;
    }
    // The scene keeps the step count and the end test's flag of the last path.
    EXPECT_EQ(sc.StepCounter, plain.steps) << s.voltage << " V, " << s.current << " mA";
    EXPECT_EQ(sc.ScreenHit, plain.screen_hit) << s.voltage << " V, " << s.current << " mA";
  }
}

}  // namespace
}  // namespace varek
