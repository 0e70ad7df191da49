// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// arithmetic_timing: the worst case of the integration (50 V, alternating,
// deflection on, amplitude 0: two paths of 59612 steps), a case with every
// value non-zero, and single extended operations, timed in processor time
// (the machine is shared), because the browser build has no Google Benchmark.
// Built three times: on long double (desktop), on SoftExtended natively, and
// in WebAssembly for Node; the same output for each.
#include <algorithm>
#include <ctime>
#include <cstdio>

#include "model/model.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>
#endif

namespace {

using namespace varek;
#if defined(__EMSCRIPTEN__)
// Node's processor time of the process.
EM_JS(double, ProcessorMilliseconds, (), {
  const usage = process.cpuUsage();
  return (usage.user + usage.system) / 1000;
});
#else
double ProcessorMilliseconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}
#endif

// Shortest of `runs` timings of `work`, in ms: the machine is shared, and
// the shortest run is the one least disturbed.
template <typename Work>
double Shortest(int runs, Work work) {
  double shortest = 1e300;
  for (int r = 0; r < runs; ++r) {
    const double start = ProcessorMilliseconds();
    work();
    shortest = std::min(shortest, ProcessorMilliseconds() - start);
  }
  return shortest;
}

// Operands the compiler cannot see, so that no chain is folded away.
volatile double sink, start_value = 0.08, beam_speed = 4.19e6, time_step = 2e-13, turn_rate = 8.29e8,
                turn_time = 1 / 8.29e8;  // turn_rate * turn_time is about 1: the chains stay normal numbers

// ns per operation over a dependent chain of model-like values.
template <typename Operation>
double NanosecondsPerOperation(Operation operation) {
  constexpr int Count = 1000000;
  return Shortest(5, [&] {
           Extended value = start_value;
           for (int i = 0; i < Count; ++i) value = operation(value);
           sink = static_cast<double>(value);
         }) * 1e6 / Count;
}


void TimeComputation(const char* name, const Settings& settings) {
  Model model(settings);
  const double ms = Shortest(15, [&] { model.ComputeTrajectories(settings); });
  const long steps = static_cast<long>(model.scene().StepCounter) * model.scene().TrajectoryTotal;
  std::printf("ComputeTrajectories %s: %.2f ms per call, %ld steps, %.1f ns per step\n", name, ms, steps,
              ms * 1e6 / static_cast<double>(steps));
}

}  // namespace

int main() {
  Settings worst;
  worst.voltage = 50;
  worst.steady = false;
  worst.deflection_on = true;
  worst.amplitude = 0;
  TimeComputation("50 V ac amplitude 0 (worst case)", worst);
  Settings turning = worst;
  turning.voltage = 100;
  turning.amplitude = 10;
  turning.current = 2000;
  TimeComputation("100 V 2000 mA ac amplitude 10", turning);

  const Extended h = time_step, omega = turn_rate, omega_inverse = turn_time, speed = beam_speed;
  std::printf("ns per operation: multiply-add %.2f, multiply %.2f, add %.2f, halve %.2f, divide %.2f, "
              "sqrt %.2f, to double and back %.2f\n",
              NanosecondsPerOperation([&](Extended v) { return v * h * omega + v; }) / 3,
              NanosecondsPerOperation([&](Extended v) { return v * omega * omega_inverse; }) / 2,
              NanosecondsPerOperation([&](Extended v) { return v + speed - speed; }) / 2,
              NanosecondsPerOperation([&](Extended v) { return v / 2 * 2; }) / 2,
              NanosecondsPerOperation([&](Extended v) { return v / 3 * 3; }) / 2,
              NanosecondsPerOperation([&](Extended v) { return Sqrt(v * v); }) / 2,
              NanosecondsPerOperation([&](Extended v) { return Extended{static_cast<double>(v)} + h; }) / 2);
  return 0;
}
