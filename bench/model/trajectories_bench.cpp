// Time of one ComputeTrajectories call and of one integration step.
#include <benchmark/benchmark.h>

#include "model/plain_controls.h"
#include "model/scene.h"
#include "model/trajectories.h"

namespace {

using namespace varek;

void Run(benchmark::State& state, PlainControls controls) {
  IdlePump pump;
  BindControls(&controls);
  BindMessagePump(&pump);
  ResetScene();
  StartUpModel();
  BuildCoilAndRings();
  InitApparatus();
  std::int64_t steps = 0;
  for (auto _ : state) {
    ComputeTrajectories();
    // Every path of these settings runs to the screen, all with the same count.
    steps += static_cast<std::int64_t>(StepCounter) * TrajectoryTotal;
    benchmark::DoNotOptimize(TrajectoryPoints[1][1]);
  }
  state.counters["steps_per_call"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
  state.counters["time_per_step"] = benchmark::Counter(
      static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  BindControls(nullptr);
  BindMessagePump(nullptr);
}

void AlternatingAt50Volts(benchmark::State& state) {
  PlainControls controls;
  controls.voltage = 50;
  controls.steady = false;
  Run(state, controls);
}

void SteadyAt1200Volts(benchmark::State& state) {
  PlainControls controls;
  controls.voltage = 1200;
  Run(state, controls);
}

BENCHMARK(AlternatingAt50Volts)->Unit(benchmark::kMillisecond);
BENCHMARK(SteadyAt1200Volts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
