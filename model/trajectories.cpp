// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/trajectories.h"

#include <cmath>
#include <optional>

namespace varek {

namespace {

constexpr Extended TimeStep = 0xe.12e13424bb40e13p-46L;  // s, h = 2e-13
// (e/m) mu0 N = 1.758820174e11 C/kg * 1.256637061e-6 V s/(A m) * 2000 turns
constexpr Extended SpecificChargeMu0Turns = SpecificCharge * VacuumPermeability * CoilTurns;
constexpr Extended AmplitudeScale = 100;  // amplitude units per unit of AccelerationScale
constexpr Extended AccelerationScale = 0x8.e1bc9bf04p+50L;  // m/s^2, 1e16
constexpr Extended OneSixth = Extended{1} / 6;
constexpr std::int32_t StepLimit = 100000;  // steps

// While |y| and |z| both stay below this, the distance from the axis stays
// below the tube's inner radius also after every rounding of the wall test:
// 0.0157 m * sqrt(2) = 0.022203 m < 0.02222 m.
constexpr Extended WallClearance = 0.0157;  // m

// Position and velocity of the electron under integration. The field has no
// x component, so the velocity along the axis stays the beam speed for the
// whole path: every x stage derivative is 0, and adding 0 * h leaves it
// unchanged to the bit. Only y and z are integrated; the position is
// unchanged between the stages, so it needs no restoring.
struct Motion {
  Extended x, y, z, vy, vz;
};

// What one step needs besides the motion.
struct StepConstants {
  Extended omega;
  Extended h;
  // h / 2: k h / 2 is (k h) / 2, and halving commutes with rounding as long as
  // nothing leaves the normal range, which the velocities and their
  // derivatives never come near; so k * (h / 2) is the same value.
  Extended half_h;
  Extended axial_advance;  // vx h, the same product at every advance of x
};

// In WebAssembly a step is a function of its own, without a loop: the
// engine's optimising compiler takes far longer for the same code inside
// the step loop. The extended operations are inlined into it (flatten), so
// that the values of a step stay in the engine's registers instead of going
// through memory with every call: about a fifth less time per step. On
// x86-64 it is inlined.
#if defined(__EMSCRIPTEN__)
#define VAREK_STEP [[gnu::noinline, gnu::flatten]]
#else
#define VAREK_STEP [[gnu::always_inline]] inline
#endif

// The derivative value * omega, plus the plates' acceleration a. Beyond the
// plates a is 0, and v + 0 is v except for the sign of a zero, which nothing
// downstream can tell apart: the step leaves it out there. Flattened too: the
// step's flatten reaches only the calls written in the step itself, and
// this function's product and sum would stay calls with their operands in
// memory.
[[gnu::always_inline, gnu::flatten]] inline Extended TurnPlusPlates(bool plates, const Extended& value,
                                                      const Extended& omega, const Extended& a) {
  return plates ? ProductPlus(value, omega, a) : value * omega;
}

// One integration step: the stages as each value's operations, in their
// order. The weighted mean is summed as it is formed, in the same order:
// K = ((2 k2 + k1) + 2 k3) + k4. A product followed by a sum is one
// ProductPlus, rounded twice as before; 2 k is Twice(k), the same value.
VAREK_STEP void Step(Motion& m, const StepConstants& c, bool plates, const Extended& a) {
  const Extended omega = c.omega, h = c.h, half_h = c.half_h;
  const Extended vy0 = m.vy, vz0 = m.vz;
  // stage 1: k1 = f(v); v = k1 h / 2 + v
  const Extended k1y = TurnPlusPlates(plates, vz0, omega, a), k1z = -vy0 * omega;
  const Extended vy1 = ProductPlus(k1y, half_h, vy0), vz1 = ProductPlus(k1z, half_h, vz0);
  // stage 2: k2 = f(v); v = k2 h / 2 + v0
  const Extended k2y = TurnPlusPlates(plates, vz1, omega, a), k2z = -vy1 * omega;
  const Extended vy2 = ProductPlus(k2y, half_h, vy0), vz2 = ProductPlus(k2z, half_h, vz0);
  Extended sum_y = Twice(k2y) + k1y, sum_z = Twice(k2z) + k1z;
  // stage 3: k3 = f(v); v = k3 h + v0
  const Extended k3y = TurnPlusPlates(plates, vz2, omega, a), k3z = -vy2 * omega;
  const Extended vy3 = ProductPlus(k3y, h, vy0), vz3 = ProductPlus(k3z, h, vz0);
  sum_y = sum_y + Twice(k3y);
  sum_z = sum_z + Twice(k3z);
  // first advance: r = v h + r
  m.x = c.axial_advance + m.x;
  m.y = ProductPlus(vy3, h, m.y);
  m.z = ProductPlus(vz3, h, m.z);
  // stage 4: k4 = f(v); v = K / 6 h + v (v is still v0 + k3 h)
  const Extended k4y = TurnPlusPlates(plates, vz3, omega, a), k4z = -vy3 * omega;
  m.vy = ProductPlus((sum_y + k4y) * OneSixth, h, vy3);
  m.vz = ProductPlus((sum_z + k4z) * OneSixth, h, vz3);
  // second advance: r = v h + r
  m.x = c.axial_advance + m.x;
  m.y = ProductPlus(m.vy, h, m.y);
  m.z = ProductPlus(m.vz, h, m.z);
}

// The plate test for a point given in extended: in the plate region, beyond
// a plate. double(y)
// lies beyond the double PlateHalfGap only if y itself does (rounding is
// monotonic), so the conversions wait until then.
[[gnu::always_inline]] inline bool HitsPlate(const Extended& x, const Extended& y) {
  if (Abs(y) < Extended{PlateHalfGap}) return false;
  const double xd = static_cast<double>(x), yd = static_cast<double>(y);
  return xd < PlateEndX && (yd > PlateHalfGap || yd < -PlateHalfGap);
}

// The wall test for a point given in extended: on or outside the tube wall,
// the distance formed in extended and rounded to double; a cheap bound first.
[[gnu::always_inline]] inline bool HitsWall(const Extended& y, const Extended& z) {
  if (Abs(y) < WallClearance && Abs(z) < WallClearance) return false;
  const double yd = static_cast<double>(y), zd = static_cast<double>(z);
  const double r =
      static_cast<double>(Sqrt(static_cast<Extended>(zd) * zd + static_cast<Extended>(yd) * yd));
  return !(r < TubeInnerRadius);
}

// The first x, in extended, from which on the double of x no longer lies
// below PlateEndX: the smallest double at or above it. Past it (x only grows)
// the plate tests cannot fire.
Extended PastThePlates() {
  double bound = static_cast<double>(PlateEndX);
  while (bound < PlateEndX) bound = std::nextafter(bound, 0.0);
  return bound;
}

// The samples and the pumps of one path.
class Sampler {
 public:
  Sampler(Scene& scene, Path& samples, StepObserver& observer)
      : scene_(scene), samples_(samples), observer_(observer) {}

  // Every 30th step: runs the pump, then stores the sample; true when the
  // observer ended the path there. The values come as copies, so that the
  // motion of the caller stays in registers.
  bool SampleAndPump(Extended x, Extended y, Extended z, bool screen_hit);

  int stored() const { return j_; }
  bool ended_by_observer() const { return ended_by_observer_; }

 private:
  Scene& scene_;
  Path& samples_;
  StepObserver& observer_;
  int j_ = 0;
  bool ended_by_observer_ = false;
};

bool Sampler::SampleAndPump(Extended x, Extended y, Extended z, bool screen_hit) {
  // Handlers in the pump see the flag of the latest end test.
  scene_.ScreenHit = screen_hit;
  const bool end_now = observer_.EndPathNow();
  ended_by_observer_ = ended_by_observer_ || end_now;
  // Hard guard on the capacity: one computation stores at most 1987
  // samples, so this never skips a sample; it only makes writing past
  // slot 2000 impossible.
  if (j_ < MaxSamples) {
    ++j_;
    samples_[j_] = {RoundEven(x * UnitsPerMetre), RoundEven(y * UnitsPerMetre),
                    RoundEven(z * UnitsPerMetre)};
  }
  return end_now;
}

// The end tests of a step after its sample, in the order of the model; the
// plate test only where it can fire. True when the path ends here.
[[gnu::always_inline]] inline bool EndTests(const Motion& m, std::int32_t steps, bool& screen_hit,
                                            bool plate_region) {
  if (steps >= StepLimit || m.x > ScreenPlaneX) return true;
  const bool hit = HitsWall(m.y, m.z) || (plate_region && HitsPlate(m.x, m.y));
  screen_hit = !hit;
  return hit;
}

// The step loops below are functions of their own in WebAssembly. The
// engine runs new code in its baseline tier first and optimises a function
// that runs often, for its next call: a loop of a few dozen steps called
// every sample runs optimised code within the first computation, where the
// whole integration as one large function would wait for its next call and
// take long to compile. On x86-64 they are inlined as before.
#if defined(__EMSCRIPTEN__)
#define VAREK_STEP_LOOP [[gnu::noinline]]
#else
#define VAREK_STEP_LOOP [[gnu::always_inline]] inline
#endif

// The integration of one path: the motion, the steps taken, the flag of the
// latest end test and whether the plates can still be hit.
struct PathState {
  Motion m;
  std::int32_t steps = 0;
  bool screen_hit = false;
  bool plate_region = true;
};

// Why a run of steps stopped.
enum class StepsStop { Sample, End, PastField };

// Steps from `state` on, the plates acting (`plates`, while x at the start
// of a step lies below -0.04 m) or not, until a sample step (its sample,
// pump and end tests are the caller's), a step whose end tests end the
// path, or, with the plates, a step that would start past the plates'
// field. One function for both: in WebAssembly the engine compiles it once.
VAREK_STEP_LOOP StepsStop StepsToSample(PathState& state, const StepConstants& c, bool plates,
                                        const Extended& a, const Extended& past_plates) {
  PathState s = state;  // a copy the loop keeps in registers
  StepsStop stop = StepsStop::End;
  for (;;) {
    if (plates) {
      if (!(s.m.x < FieldRegionEndX)) {
        stop = StepsStop::PastField;
        break;
      }
    } else {
      s.plate_region = s.plate_region && s.m.x < past_plates;
    }
    ++s.steps;
    Step(s.m, c, plates, a);
    if (s.steps % StepsPerSample == 0) {
      stop = StepsStop::Sample;
      break;
    }
    if (EndTests(s.m, s.steps, s.screen_hit, s.plate_region)) break;
  }
  state = s;
  return stop;
}

// The axial steps from x on, until a sample step or the last step (the step
// limit or past the screen); true at the last.
VAREK_STEP_LOOP bool AxialStepsToSample(Extended& x_state, std::int32_t& steps_state,
                                        const Extended& axial_advance) {
  Extended x = x_state;
  std::int32_t steps = steps_state;
  bool last = false;
  do {
    ++steps;
    x = axial_advance + x;
    x = axial_advance + x;
    last = steps >= StepLimit || x > ScreenPlaneX;
  } while (!last && steps % StepsPerSample != 0);
  x_state = x;
  steps_state = steps;
  return last;
}

// Path 2 of the alternating voltage as the mirror image of path 1 in the
// axis. The two differ only in the sign of the plates' acceleration, and
// every operation of a step is odd in (y, z, vy, vz, a) with a rounding that
// is symmetric under a change of sign: each value of path 2 is that of path 1
// negated, to the bit, and so are the rounded samples. The end tests do not
// see the sign (the plates lie symmetric), so path 2 ends at the same step
// with the same flag.
void MirrorPathOne(Scene& scene) {
  const int count = scene.TrajectoryCount[1];
  for (int s = 1; s <= count; ++s) {
    const Vec3i& p = scene.TrajectoryPoints[1][s];
    scene.TrajectoryPoints[2][s] = {p.x, -p.y, -p.z};
  }
  scene.TrajectoryCount[2] = count;
}

}  // namespace

// What a computation in parts keeps between its parts.
struct PathIntegration::State {
  State(Scene& scene_in, const Settings& settings_in, StepObserver& observer_in)
      : scene(scene_in), observer(observer_in), settings(settings_in) {}

  Scene& scene;
  StepObserver& observer;
  Settings settings;
  StepConstants constants{};
  Extended past_plates = PastThePlates();
  int path = 0;  // the path under integration, 0 before the first
  bool path_running = false;
  bool ended_by_observer = false;
  bool done = false;
  Extended plate_acceleration = 0;
  PathState s{};
  bool plates = true;  // x may still lie in the plates' field
  std::optional<Sampler> sampler;

  // Starts the next path, or ends the computation; false at its end.
  bool StartPath();
  // The steps up to the next sample step, its sample and pump and its end
  // tests; true when the path ends there.
  bool NextSample();
  bool NextAxialSample();
  void EndPath();
};

bool PathIntegration::State::StartPath() {
  const int total = scene.TrajectoryTotal;
  if (++path > total) return false;
  scene.TrajectoryCount[path] = 0;
  // Path 2 follows from path 1, unless the observer cut path 1 short.
  if (path == 2 && !ended_by_observer) {
    MirrorPathOne(scene);
    return false;
  }
  const int b = settings.deflection_on ? 1 : 0;
  const int polarity = -b * (2 * path - 3);  // +b on path 1, -b on path 2
  // deflecting acceleration between the plates, the same for every step there
  plate_acceleration = polarity * (settings.amplitude / AmplitudeScale) * AccelerationScale;
  sampler.emplace(scene, scene.TrajectoryPoints[path], observer);
  s = PathState{.m = {GunX, 0, 0, 0, 0}, .screen_hit = scene.ScreenHit};
  plates = true;
  path_running = true;
  return true;
}

// The general case, deflection and field turning the electron. The steps
// with the plates acting, until one would start past their field, then
// those without.
bool PathIntegration::State::NextSample() {
  StepsStop stop = StepsStop::End;
  if (plates) {
    stop = StepsToSample(s, constants, true, plate_acceleration, past_plates);
    plates = stop != StepsStop::PastField;
  }
  if (!plates) stop = StepsToSample(s, constants, false, plate_acceleration, past_plates);
  // A sample step samples and pumps, then runs its end tests.
  return stop == StepsStop::End || sampler->SampleAndPump(s.m.x, s.m.y, s.m.z, s.screen_hit) ||
         EndTests(s.m, s.steps, s.screen_hit, s.plate_region);
}

// y and z stay exactly 0 without a deflecting acceleration: only x moves,
// and the end tests before the screen all pass (neither the wall nor a plate
// is on the axis).
bool PathIntegration::State::NextAxialSample() {
  const bool last = AxialStepsToSample(s.m.x, s.steps, constants.axial_advance);
  // A sample step samples and pumps before its end tests.
  return (s.steps % StepsPerSample == 0 && sampler->SampleAndPump(s.m.x, 0, 0, true)) || last;
}

void PathIntegration::State::EndPath() {
  // Every axial step ran the wall and plate tests, except one that an end
  // test before it ended.
  scene.ScreenHit = plate_acceleration == 0 || s.screen_hit;
  scene.StepCounter = s.steps;
  ended_by_observer = ended_by_observer || sampler->ended_by_observer();
  scene.TrajectoryCount[path] = sampler->stored();
  path_running = false;
}

PathIntegration::PathIntegration(Scene& scene, const Settings& settings, StepObserver& observer)
    : state_(std::make_unique<State>(scene, settings, observer)) {
  const Extended speed = BeamSpeedFor(settings.voltage);
  scene.BeamSpeed = speed;
  const Extended h = TimeStep;
  const Extended omega =  // (e/m) B = I (e/m) mu0 N / L
      static_cast<Extended>(settings.current) / MilliampsPerAmp * SpecificChargeMu0Turns /
      CoilLength;
  scene.TrajectoryTotal = settings.steady ? 1 : 2;
  state_->constants = {omega, h, h / 2, speed * h};
}

PathIntegration::~PathIntegration() = default;

bool PathIntegration::Continue(int samples) {
  State& st = *state_;
  while (!st.done && samples > 0) {
    if (!st.path_running && !st.StartPath()) {
      st.done = true;
      break;
    }
    const bool path_ended = st.plate_acceleration == 0 ? st.NextAxialSample() : st.NextSample();
    if (path_ended) st.EndPath();
    --samples;
  }
  return st.done;
}

bool PathIntegration::EndedByObserver() const { return state_->ended_by_observer; }

bool IntegratePaths(Scene& scene, const Settings& settings, StepObserver& observer) {
  PathIntegration integration(scene, settings, observer);
  integration.Continue();
  return integration.EndedByObserver();
}

}  // namespace varek
