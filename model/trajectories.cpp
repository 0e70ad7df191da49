#include "model/trajectories.h"

#include <cmath>

#include "model/controls.h"
#include "model/scene.h"

namespace varek {

namespace {

constexpr Extended TimeStep = 2e-13L;  // s, h
// (e/m) mu0 N = 1.758820174e11 C/kg * 1.256637061e-6 V s/(A m) * 2000 turns
constexpr Extended SpecificChargeMu0Turns = 442039722.85657372282L;
constexpr Extended CoilLength = 0.4L;     // m
constexpr Extended MilliampsPerAmp = 1000;  // mA/A
constexpr Extended FieldRegionEndX = -0.04L;  // m, the deflecting field acts below this x
constexpr Extended AmplitudeScale = 100;      // amplitude units per unit of AccelerationScale
constexpr Extended AccelerationScale = 1e16L;  // m/s^2
constexpr Extended OneSixth = 1.0L / 6.0L;
constexpr int StepsPerSample = 30;   // steps between two samples and between two message pumps
constexpr std::int32_t StepLimit = 100000;  // steps; a handler stops a path by writing >= this
constexpr Extended ScreenPlaneX = 0.05L;  // m
constexpr Extended TubeInnerRadius = 0.02222L;  // m
constexpr Extended PlateEndX = -0.0393L;        // m, plates collide below this x
constexpr double PlateHalfGap = 0.004285714285714286;  // m, 27/6300 as a double

bool running = false;             // a computation is on the call stack
bool recompute_requested = false;  // a call came in from the pump of the running one

// Integrates paths 1..TrajectoryTotal for the settings in force. Returns true
// when a handler stopped it by writing the step limit into StepCounter.
bool ComputeOnce() {
  Controls& controls = BoundControls();
  MessagePump& pump = BoundMessagePump();
  bool stopped = false;

  BeamSpeed = BeamSpeedFor(controls.ScrollBar4());
  const Extended h = TimeStep;
  const Extended omega =  // (e/m) B = I (e/m) mu0 N / L
      static_cast<Extended>(controls.ScrollBar7()) / MilliampsPerAmp * SpecificChargeMu0Turns /
      CoilLength;
  TrajectoryTotal = controls.Gleichspannung() ? 1 : 2;
  const int n = TrajectoryTotal;

  for (int i = 1; i <= n; ++i) {
    TrajectoryIndex = static_cast<std::uint8_t>(i);
    TrajectoryCount[i] = 0;
    VelocityX = BeamSpeed;
    VelocityY = 0;
    VelocityZ = 0;
    int b = 0;
    if (controls.AblenkEin()) b = 1;
    if (controls.AblenkAus()) b = 0;
    const int polarity = -b * (2 * i - 3);  // +b on path 1, -b on path 2
    int j = 0;
    StepCounter = 0;
    StartX = GunX;
    Extended x = StartX, y = StartY, z = StartZ;

    for (;;) {
      ++StepCounter;
      // deflecting acceleration between the plates, from x at the start of the step
      Extended a = 0;
      if (x < FieldRegionEndX)
        a = polarity * (controls.ScrollBar3() / AmplitudeScale) * AccelerationScale;
      // The field has no x component, so VelocityX stays BeamSpeed for the whole
      // path: every x stage derivative is 0, and adding 0 * h to VelocityX
      // leaves it unchanged to the bit. Only y and z are integrated;
      // the position is unchanged between the stages, so it needs no restoring.
      const Extended vy0 = VelocityY, vz0 = VelocityZ;

      // stage 1: k1 = f(v); v = k1 h / 2 + v
      const Extended k1y = VelocityZ * omega + a, k1z = -VelocityY * omega;
      VelocityY = k1y * h / 2 + VelocityY;
      VelocityZ = k1z * h / 2 + VelocityZ;
      // stage 2: k2 = f(v); v = k2 h / 2 + v0
      const Extended k2y = VelocityZ * omega + a, k2z = -VelocityY * omega;
      VelocityY = k2y * h / 2 + vy0;
      VelocityZ = k2z * h / 2 + vz0;
      // stage 3: k3 = f(v); v = k3 h + v0
      const Extended k3y = VelocityZ * omega + a, k3z = -VelocityY * omega;
      VelocityY = k3y * h + vy0;
      VelocityZ = k3z * h + vz0;
      // first advance: r = v h + r
      x = VelocityX * h + x;
      y = VelocityY * h + y;
      z = VelocityZ * h + z;
      // stage 4: k4 = f(v)
      const Extended k4y = VelocityZ * omega + a, k4z = -VelocityY * omega;
      // K = (2 k2 + k1 + 2 k3 + k4) / 6; v = K h + v (v is still v0 + k3 h)
      VelocityY = (k2y * 2 + k1y + k3y * 2 + k4y) * OneSixth * h + VelocityY;
      VelocityZ = (k2z * 2 + k1z + k3z * 2 + k4z) * OneSixth * h + VelocityZ;
      // second advance: r = v h + r
      x = VelocityX * h + x;
      y = VelocityY * h + y;
      z = VelocityZ * h + z;

      if (StepCounter % StepsPerSample == 0) {
        pump.Pump();
        // A multiple of 30 never reaches the limit by counting, so a counter at
        // or beyond it here was written by a handler in the pump: a stop.
        if (StepCounter >= StepLimit) stopped = true;
        // Hard guard on the capacity: one computation stores at most 1987
        // samples, and no computation is ever continued after another, so
        // this never skips a sample; it only makes writing past slot 2000
        // impossible.
        if (j < MaxSamples) {
          ++j;
          TrajectoryPoints[TrajectoryIndex][j] = {RoundEven(x * UnitsPerMetre),
                                                  RoundEven(y * UnitsPerMetre),
                                                  RoundEven(z * UnitsPerMetre)};
        }
      }

      if (StepCounter >= StepLimit) break;
      if (x > ScreenPlaneX) break;
      if (HitsObstacle(static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)))
        break;
    }
    TrajectoryCount[TrajectoryIndex] = j;
  }
  return stopped;
}

// Clears the running mark also when a handler in the pump throws.
struct RunningMark {
  RunningMark() { running = true; }
  ~RunningMark() {
    running = false;
    recompute_requested = false;
  }
};

}  // namespace

void ComputeTrajectories() {
  if (running) {
    // Called from a handler inside the pump: the running computation starts
    // over once it is done, so the stored paths never mix two computations
    // and the call stack never holds more than one.
    recompute_requested = true;
    return;
  }
  RunningMark mark;
  bool again;
  do {
    recompute_requested = false;
    const bool stopped = ComputeOnce();
    // A stop is the window closing: a pending request is dropped with it.
    again = recompute_requested && !stopped;
  } while (again);
}

bool ComputationRunning() { return running; }

bool HitsObstacle(double x, double y, double z) {
  ScreenHit = true;
  bool hit = false;
  // distance from the axis, formed in extended and rounded to double
  const double r = static_cast<double>(std::sqrt(static_cast<Extended>(z) * z +
                                                 static_cast<Extended>(y) * y));
  if (!(r < TubeInnerRadius)) {  // tube wall
    hit = true;
    ScreenHit = false;
  }
  if (x < PlateEndX && y > PlateHalfGap) {  // upper plate
    hit = true;
    ScreenHit = false;
  }
  if (x < PlateEndX && y < -PlateHalfGap) {  // lower plate
    hit = true;
    ScreenHit = false;
  }
  return hit;
}

}  // namespace varek
