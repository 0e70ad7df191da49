// RenderScene at start-up (no path, coil hidden) and in its heaviest form:
// coil shown, two paths of 1987 samples (50 V, alternating deflection of
// small amplitude, a coil current that turns them back onto the screen),
// screen filled.
#include <benchmark/benchmark.h>

#include "model/plain_controls.h"
#include "model/scene.h"
#include "model/trajectories.h"
#include "render/scene_renderer.h"

namespace varek {
namespace {

PlainControls controls;
IdlePump pump;

void StartUp() {
  ResetScene();
  BindControls(&controls);
  BindMessagePump(&pump);
  StartUpModel();
  BuildCoilAndRings();
  CreateBackBuffer(SceneWidth, SceneHeight);
  InitApparatus();
}

void BM_RenderSceneStartUp(benchmark::State& state) {
  controls = PlainControls{};
  StartUp();
  for (auto _ : state) {
    RenderScene();
    benchmark::DoNotOptimize(BackBuffer.pixels.data());
  }
}
BENCHMARK(BM_RenderSceneStartUp);

void BM_RenderSceneHeaviest(benchmark::State& state) {
  controls = PlainControls{};
  controls.voltage = 50;
  controls.deflection_on = true;
  controls.steady = false;
  controls.amplitude = 10;
  controls.current = 502;  // mA: two turns of the helix on the way to the screen
  StartUp();
  ComputeTrajectories();
  CoilVisible = true;
  state.counters["samples1"] = TrajectoryCount[1];
  state.counters["samples2"] = TrajectoryCount[2];
  for (auto _ : state) {
    RenderScene();
    benchmark::DoNotOptimize(BackBuffer.pixels.data());
  }
}
BENCHMARK(BM_RenderSceneHeaviest);

}  // namespace
}  // namespace varek
