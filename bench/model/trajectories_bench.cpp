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

void AlternatingAt50Volts(benchmark::State& state) {
  Settings settings;
  settings.voltage = 50;
  settings.steady = false;
  Run(state, settings);
}

void SteadyAt1200Volts(benchmark::State& state) { Run(state, Settings{}); }

BENCHMARK(AlternatingAt50Volts)->Unit(benchmark::kMillisecond);
BENCHMARK(SteadyAt1200Volts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
