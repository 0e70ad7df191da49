// The functions that the page's worker calls: one Simulation, the settings in
// force, and the pictures as arrays of 0x00RRGGBB pixels in the module's
// memory (720 x 440 for the scene, 241 x 50 for the deflection plot).
//
// The page's controls keep every setting in its range; the flags arrive as 0
// or 1. The worker owns the one Simulation and calls from one thread only.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>

#include "render/deflection_signal.h"
#include "render/simulation.h"

namespace {

std::unique_ptr<varek::Simulation> simulation;
varek::Settings settings;
// Filled by the page with the decoded axes picture, then handed over.
varek::Bitmap signal_axes(varek::SignalWidth, varek::SignalHeight);

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void varek_create() {
  settings = varek::Settings{};
  simulation = std::make_unique<varek::Simulation>(settings);
}

EMSCRIPTEN_KEEPALIVE void varek_set_settings(int voltage, int current, int amplitude,
                                             int deflection_on, int steady, int turn_axis,
                                             int turn_vertical, int coil_visible,
                                             int screen_transparent, int path_width) {
  settings.voltage = voltage;
  settings.current = current;
  settings.amplitude = amplitude;
  settings.deflection_on = deflection_on != 0;
  settings.steady = steady != 0;
  settings.turn_axis = turn_axis;
  settings.turn_vertical = turn_vertical;
  settings.coil_visible = coil_visible != 0;
  settings.screen_transparent = screen_transparent != 0;
  settings.path_width = path_width;
}

EMSCRIPTEN_KEEPALIVE void varek_compute() { simulation->ComputeTrajectories(settings); }

EMSCRIPTEN_KEEPALIVE const std::uint32_t* varek_render_scene() {
  return simulation->RenderScene(settings).pixels.data();
}

EMSCRIPTEN_KEEPALIVE const std::uint32_t* varek_draw_signal() {
  return simulation->DrawDeflectionSignal(settings).pixels.data();
}

EMSCRIPTEN_KEEPALIVE std::uint32_t* varek_signal_axes_pixels() { return signal_axes.pixels.data(); }

EMSCRIPTEN_KEEPALIVE void varek_apply_signal_axes() { simulation->SetSignalBackground(signal_axes); }

}  // extern "C"
