// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// RenderScene at start-up (no path, coil hidden) and in its heaviest form:
// coil shown, two paths of 1987 samples (50 V, alternating deflection of
// small amplitude, a coil current that turns them back onto the screen),
// screen filled; at scale 1 and 2.
#include <benchmark/benchmark.h>

#include "render/simulation.h"

namespace varek {
namespace {

void BM_RenderSceneStartUp(benchmark::State& state) {
  const Settings settings;
  Simulation simulation(settings);
  for (auto _ : state) benchmark::DoNotOptimize(simulation.RenderScene(settings).pixels.data());
}
BENCHMARK(BM_RenderSceneStartUp);

// state.range(0): device pixels per picture pixel (2 on a 4K screen).
void BM_RenderSceneHeaviest(benchmark::State& state) {
  Settings settings;
  settings.voltage = 50;
  settings.deflection_on = true;
  settings.steady = false;
  settings.amplitude = 10;
  settings.current = 502;  // mA: two turns of the helix on the way to the screen
  settings.coil_visible = true;
  Simulation simulation(settings);
  simulation.SetPictureScale(state.range(0));
  simulation.ComputeTrajectories(settings);
  state.counters["samples1"] = simulation.scene().TrajectoryCount[1];
  state.counters["samples2"] = simulation.scene().TrajectoryCount[2];
  for (auto _ : state) benchmark::DoNotOptimize(simulation.RenderScene(settings).pixels.data());
}
BENCHMARK(BM_RenderSceneHeaviest)->Arg(1)->Arg(2);

}  // namespace
}  // namespace varek
