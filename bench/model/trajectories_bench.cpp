// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one ComputeTrajectories call and of one integration step.
#include <benchmark/benchmark.h>

#include "model/model.h"

namespace {

using namespace varek;

void Run(benchmark::State& state, const Settings& settings) {
  Model model(settings);
  std::int64_t steps = 0;
  for (auto _ : state) {
    model.ComputeTrajectories(settings);
    // Every path of these settings runs to the screen, all with the same count.
    steps += static_cast<std::int64_t>(model.scene().StepCounter) * model.scene().TrajectoryTotal;
    benchmark::DoNotOptimize(model.scene().TrajectoryPoints[1][1]);
  }
  state.counters["steps_per_call"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
  state.counters["time_per_step"] = benchmark::Counter(
      static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Deflection on, alternating voltage: two paths.
void Alternating(benchmark::State& state, int voltage, int current, int amplitude) {
  Run(state, {.voltage = voltage,
              .current = current,
              .amplitude = amplitude,
              .deflection_on = true,
              .steady = false});
}

void SteadyAt1200Volts(benchmark::State& state) { Run(state, Settings{}); }

// The heavy cases: the longest paths (50 V), turning in the field with every
// value non-zero.
BENCHMARK_CAPTURE(Alternating, 50V_1000mA_amplitude10_heavy, 50, 1000, 10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Alternating, 50V_2000mA_amplitude5_heavy, 50, 2000, 5)
    ->Unit(benchmark::kMillisecond);
// The same paths on the axis: without deflection y and z stay 0.
BENCHMARK_CAPTURE(Alternating, 50V_amplitude0, 50, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK(SteadyAt1200Volts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
