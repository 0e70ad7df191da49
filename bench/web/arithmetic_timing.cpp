// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// arithmetic_timing: the heavy cases of the integration (50 V, alternating,
// 1000 mA with amplitude 10 and 2000 mA with amplitude 5: two paths of 59612
// steps with every value non-zero), the same paths on the axis (amplitude 0),
// a shorter turning case, and single extended operations, timed in processor time
// (the machine is shared), because the browser build has no Google Benchmark.
// Built three times: on long double (desktop), on SoftExtended natively, and
// in WebAssembly for Node; the same output for each.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

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

// `runs` timings of `work` in ms, in the order they ran.
template <typename Work>
std::vector<double> Timings(int runs, Work work) {
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    const double start = ProcessorMilliseconds();
    work();
    times.push_back(ProcessorMilliseconds() - start);
  }
  return times;
}

// The shortest: the machine is shared, and the shortest run is the one least disturbed.
template <typename Work>
double Shortest(int runs, Work work) {
  const std::vector<double> times = Timings(runs, work);
  return *std::min_element(times.begin(), times.end());
}

// Operands the compiler cannot see, so that no chain is folded away.
volatile double sink,
    start_value = 0.08, beam_speed = 4.19e6, time_step = 2e-13, turn_rate = 8.29e8,
    turn_time = 1 / 8.29e8;  // turn_rate * turn_time is about 1: the chains stay normal numbers

// `count` operations of a dependent chain from `value` on. A function of
// its own, called again and again: in WebAssembly the engine optimises a
// function for its next call, and a chain run once inside main would be
// timed in the baseline tier.
template <typename Operation>
[[gnu::noinline]] Extended Chain(Operation operation, Extended value, int count) {
  for (int i = 0; i < count; ++i) value = operation(value);
  return value;
}

// ns per operation over a dependent chain of model-like values, after a
// first run that lets the engine optimise the chain.
template <typename Operation>
double NanosecondsPerOperation(Operation operation) {
  constexpr int Count = 1000000, Piece = 1000;
  const auto run = [&] {
    Extended value = start_value;
    for (int i = 0; i < Count; i += Piece) value = Chain(operation, value, Piece);
    sink = static_cast<double>(value);
  };
  run();
  return Shortest(5, run) * 1e6 / Count;
}

// The first call (in WebAssembly the engine's baseline code may run it),
// then the shortest and the median of 15 calls.
void TimeComputation(const char* name, const Settings& settings) {
  Model model(settings);
  std::vector<double> times = Timings(16, [&] { model.ComputeTrajectories(settings); });
  const double first = times.front();
  times.erase(times.begin());
  std::sort(times.begin(), times.end());
  const double ms = times.front();
  const long steps = static_cast<long>(model.scene().StepCounter) * model.scene().TrajectoryTotal;
  std::printf(
      "ComputeTrajectories %s: %.2f ms per call (median %.2f, first call %.2f), %ld path steps, "
      "%.1f ns per path step\n",
      name, ms, times[times.size() / 2], first, steps, ms * 1e6 / static_cast<double>(steps));
}

// Deflection on, alternating voltage.
constexpr Settings Alternating(int voltage, int current, int amplitude) {
  return {.voltage = voltage,
          .current = current,
          .amplitude = amplitude,
          .deflection_on = true,
          .steady = false};
}

}  // namespace

int main() {
  // The heavy cases: the longest paths with every value non-zero.
  TimeComputation("50 V 1000 mA ac amplitude 10 (heavy)", Alternating(50, 1000, 10));
  TimeComputation("50 V 2000 mA ac amplitude 5 (heavy)", Alternating(50, 2000, 5));
  // The longest paths on the axis, and a shorter turning one.
  TimeComputation("50 V ac amplitude 0", Alternating(50, 0, 0));
  TimeComputation("100 V 2000 mA ac amplitude 10", Alternating(100, 2000, 10));

  const Extended h = time_step, omega = turn_rate, omega_inverse = turn_time, speed = beam_speed;
  std::printf(
      "ns per operation: multiply-add %.2f, multiply %.2f, add %.2f, halve %.2f, divide %.2f, "
      "sqrt %.2f, to double and back %.2f\n",
      NanosecondsPerOperation([&](Extended v) { return v * h * omega + v; }) / 3,
      NanosecondsPerOperation([&](Extended v) { return v * omega * omega_inverse; }) / 2,
      NanosecondsPerOperation([&](Extended v) { return v + speed - speed; }) / 2,
      NanosecondsPerOperation([&](Extended v) { return v / 2 * 2; }) / 2,
      NanosecondsPerOperation([&](Extended v) { return v / 3 * 3; }) / 2,
      NanosecondsPerOperation([&](Extended v) { return Sqrt(v * v); }) / 2,
      NanosecondsPerOperation([&](Extended v) { return Extended{static_cast<double>(v)} + h; }) /
          2);
  return 0;
}
