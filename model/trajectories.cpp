// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/trajectories.h"

namespace varek {

namespace {

constexpr Extended TimeStep = 0xe.12e13424bb40e13p-46L;  // s, h = 2e-13
// (e/m) mu0 N = 1.758820174e11 C/kg * 1.256637061e-6 V s/(A m) * 2000 turns
constexpr Extended SpecificChargeMu0Turns = SpecificCharge * VacuumPermeability * CoilTurns;
constexpr Extended AmplitudeScale = 100;      // amplitude units per unit of AccelerationScale
constexpr Extended AccelerationScale = 0x8.e1bc9bf04p+50L;  // m/s^2, 1e16
constexpr Extended OneSixth = Extended{1} / 6;
constexpr std::int32_t StepLimit = 100000;  // steps

}  // namespace

bool IntegratePaths(Scene& scene, const Settings& settings, StepObserver& observer) {
  bool ended_by_observer = false;
  const Extended speed = BeamSpeedFor(settings.voltage);
  scene.BeamSpeed = speed;
  const Extended h = TimeStep;
  const Extended omega =  // (e/m) B = I (e/m) mu0 N / L
      static_cast<Extended>(settings.current) / MilliampsPerAmp * SpecificChargeMu0Turns /
      CoilLength;
  scene.TrajectoryTotal = settings.steady ? 1 : 2;
  const int n = scene.TrajectoryTotal;
  const int b = settings.deflection_on ? 1 : 0;
  const Extended deflection = settings.amplitude / AmplitudeScale;

  for (int i = 1; i <= n; ++i) {
    scene.TrajectoryCount[i] = 0;
    Path& samples = scene.TrajectoryPoints[i];
    // The field has no x component, so the velocity along the axis stays the
    // beam speed for the whole path: every x stage derivative is 0, and adding
    // 0 * h leaves it unchanged to the bit. Only y and z are integrated; the
    // position is unchanged between the stages, so it needs no restoring.
    const Extended vx = speed;
    Extended vy = 0, vz = 0;
    const int polarity = -b * (2 * i - 3);  // +b on path 1, -b on path 2
    // deflecting acceleration between the plates, the same for every step there
    const Extended plate_acceleration = polarity * deflection * AccelerationScale;
    int j = 0;
    std::int32_t steps = 0;
    Extended x = GunX, y = 0, z = 0;

    for (;;) {
      ++steps;
      // the plates act while x, at the start of the step, lies below -0.04 m
      const Extended a = x < FieldRegionEndX ? plate_acceleration : Extended{0};
      const Extended vy0 = vy, vz0 = vz;

      // stage 1: k1 = f(v); v = k1 h / 2 + v
      const Extended k1y = vz * omega + a, k1z = -vy * omega;
      vy = k1y * h / 2 + vy;
      vz = k1z * h / 2 + vz;
      // stage 2: k2 = f(v); v = k2 h / 2 + v0
      const Extended k2y = vz * omega + a, k2z = -vy * omega;
      vy = k2y * h / 2 + vy0;
      vz = k2z * h / 2 + vz0;
      // stage 3: k3 = f(v); v = k3 h + v0
      const Extended k3y = vz * omega + a, k3z = -vy * omega;
      vy = k3y * h + vy0;
      vz = k3z * h + vz0;
      // first advance: r = v h + r
      x = vx * h + x;
      y = vy * h + y;
      z = vz * h + z;
      // stage 4: k4 = f(v)
      const Extended k4y = vz * omega + a, k4z = -vy * omega;
      // K = (2 k2 + k1 + 2 k3 + k4) / 6; v = K h + v (v is still v0 + k3 h)
      vy = (k2y * 2 + k1y + k3y * 2 + k4y) * OneSixth * h + vy;
      vz = (k2z * 2 + k1z + k3z * 2 + k4z) * OneSixth * h + vz;
      // second advance: r = v h + r
      x = vx * h + x;
      y = vy * h + y;
      z = vz * h + z;

      bool end_now = false;
      if (steps % StepsPerSample == 0) {
        end_now = observer.EndPathNow();
        ended_by_observer = ended_by_observer || end_now;
        // Hard guard on the capacity: one computation stores at most 1987
        // samples, so this never skips a sample; it only makes writing past
        // slot 2000 impossible.
        if (j < MaxSamples) {
          ++j;
          samples[j] = {RoundEven(x * UnitsPerMetre), RoundEven(y * UnitsPerMetre),
                        RoundEven(z * UnitsPerMetre)};
        }
      }

      if (end_now || steps >= StepLimit) break;
      if (x > ScreenPlaneX) break;
      if (HitsObstacle(static_cast<double>(x), static_cast<double>(y), static_cast<double>(z),
                       scene.ScreenHit))
        break;
    }
    scene.StepCounter = steps;
    scene.TrajectoryCount[i] = j;
  }
  return ended_by_observer;
}

bool HitsObstacle(double x, double y, double z, bool& screen_hit) {
  screen_hit = true;
  bool hit = false;
  // distance from the axis, formed in extended and rounded to double
  const double r = static_cast<double>(Sqrt(static_cast<Extended>(z) * z +
                                            static_cast<Extended>(y) * y));
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

}  // namespace varek
