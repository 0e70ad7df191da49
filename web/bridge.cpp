// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The functions that the page's worker calls: one Simulation, the settings in
// force, and the pictures in the module's memory as the bytes R, G, B, 255 of
// each pixel, row by row, as ImageData takes them (720 x 440 for the scene,
// 241 x 50 for the deflection plot, k times as large at a picture scale k).
//
// The page's controls keep every setting in its range; the settings arrive
// one by one in the order of the table of the settings, choices as 0 or 1. The worker owns the one
// Simulation and calls from one thread only.
//
// The paths of the last few hundred settings are kept (model/path_cache.h):
// a setting shown before is drawn at once, and in idle time the worker has
// the neighbours of the settings in force computed on a model of their own.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/reading_hints.h"
#include "measurement/text_excerpt.h"
#include "model/path_cache.h"
#include "model/setting_table.h"
#include "render/beam_marks.h"
#include "render/deflection_signal.h"
#include "render/simulation.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// About 50 kB a kept result at the longest paths, two of them: 12 MB at most.
constexpr std::size_t KeptResults = 256;

std::unique_ptr<varek::Simulation> simulation;
varek::Settings settings;
varek::PathCache path_cache(KeptResults);
// The settings of the paths shown, and of those shown before them.
varek::Settings computed, computed_before;
// Computes the neighbours, and the warm-up: the shown scene stays as it is.
std::unique_ptr<varek::Simulation> idle_simulation;
Bytes scene_rgba, signal_rgba;
int picture_width = 0, picture_height = 0;  // of the last picture handed over
std::string beam_marks;
std::string reading_hint;
varek::MarkTone mark_tone;
// A link's parameter as the page writes it (its name, then its text), and
// what it gives: the value of its setting, or the notice why none.
std::string link_parameter;
int link_value = 0;
std::string link_notice;
// Filled by the page with the decoded axes picture, then handed over.
Bytes signal_axes_rgba(static_cast<std::size_t>(varek::SignalWidth) * varek::SignalHeight * 4);

// Pixels 0x00RRGGBB to the bytes R, G, B, 255.
const std::uint8_t* ToRgba(const varek::Bitmap& picture, Bytes& rgba) {
  picture_width = picture.width;
  picture_height = picture.height;
  rgba.resize(picture.pixels.size() * 4);
  std::uint8_t* out = rgba.data();
  for (const varek::Pixel p : picture.pixels) {
    *out++ = static_cast<std::uint8_t>(p >> 16);
    *out++ = static_cast<std::uint8_t>(p >> 8);
    *out++ = static_cast<std::uint8_t>(p);
    *out++ = 255;
  }
  return rgba.data();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void varek_create() {
  settings = varek::Settings{};
  simulation = std::make_unique<varek::Simulation>(settings);
  idle_simulation = std::make_unique<varek::Simulation>(settings);
}

// One setting by its row in the table of the settings (a choice 1 or 0).
EMSCRIPTEN_KEEPALIVE void varek_set_setting(int row, int value) {
  const auto rows = varek::SettingTable();
  if (row >= 0 && static_cast<std::size_t>(row) < rows.size())
    rows[static_cast<std::size_t>(row)].SetIn(settings, value);
}

// The page writes a link's parameter here: `size` bytes of UTF-8, its name
// and then its text.
EMSCRIPTEN_KEEPALIVE char* varek_link_parameter(int size) {
  link_parameter.assign(static_cast<std::size_t>(size), '\0');
  return link_parameter.data();
}

// Reads the parameter written there, its name the first `name_size` bytes,
// as the command lines read their flags: 1 where it sets its setting
// (varek_link_value(): the value, a choice 1 or 0), 0 where it does not
// (varek_link_notice(): the German sentence why, with the start value kept).
EMSCRIPTEN_KEEPALIVE int varek_read_link_parameter(int name_size) {
  const std::string_view parameter = link_parameter;
  const std::string_view name = parameter.substr(0, static_cast<std::size_t>(name_size));
  const std::string_view text = parameter.substr(name.size());
  const varek::SettingRow* row = varek::SettingNamed(name);
  if (row == nullptr) {
    link_notice = "Unbekannter Parameter " + varek::QuotedExcerpt(name) + " wird nicht beachtet.";
    return 0;
  }
  if (const auto value = varek::ParseSettingValue(*row, text)) {
    link_value = *value;
    return 1;
  }
  link_notice = varek::BadValueSentence(row->name, varek::QuotedExcerpt(text), row->Expected()) +
                " Startwert " + row->Word(row->Start()) + " verwendet.";
  return 0;
}

EMSCRIPTEN_KEEPALIVE int varek_link_value() { return link_value; }

// UTF-8, ended by a zero byte.
EMSCRIPTEN_KEEPALIVE const char* varek_link_notice() { return link_notice.c_str(); }

// Whether the deflection plot is shown for the settings in force.
EMSCRIPTEN_KEEPALIVE int varek_signal_shown() { return settings.deflection_on ? 1 : 0; }

// The paths for the settings in force: kept ones, or computed and kept.
EMSCRIPTEN_KEEPALIVE void varek_compute() {
  computed_before = computed;
  computed = settings;
  if (path_cache.Recall(settings, simulation->model().mutable_scene())) return;
  simulation->ComputeTrajectories(settings);
  path_cache.Keep(settings, simulation->scene());
}

// The scale of the pictures: device pixels per picture pixel, 1 below 1 (as
// the desktop's window and varek-render --scale draw them).
EMSCRIPTEN_KEEPALIVE void varek_set_picture_scale(double scale) {
  simulation->SetPictureScale(scale > 1 ? static_cast<varek::Extended>(scale) : varek::Extended(1));
}

// The size of the last picture handed over, in pixels.
EMSCRIPTEN_KEEPALIVE int varek_picture_width() { return picture_width; }
EMSCRIPTEN_KEEPALIVE int varek_picture_height() { return picture_height; }

// Idle work: computes and keeps the paths of one neighbour of the paths
// shown that are not kept yet, the one onwards from the last change first. 1 when it computed one,
// 0 when every neighbour is kept.
EMSCRIPTEN_KEEPALIVE int varek_prepare_neighbour() {
  for (const varek::Settings& neighbour : varek::PathNeighbours(computed, computed_before)) {
    if (path_cache.Holds(neighbour)) continue;
    idle_simulation->ComputeTrajectories(neighbour);
    path_cache.Keep(neighbour, idle_simulation->scene());
    return 1;
  }
  return 0;
}

// A short computation that runs the integration's step loops and the
// extended arithmetic, and its picture, once, on the idle simulation: the
// engine first runs new code in its baseline tier and optimises the small
// functions that ran often, so that the first heavy picture the user asks
// for runs optimised code. About a sixth of the heavy cases' steps.
EMSCRIPTEN_KEEPALIVE void varek_warm_up() {
  const varek::Settings warm{
      .voltage = 2000, .current = 1000, .amplitude = 10, .deflection_on = true, .steady = false};
  idle_simulation->ComputeTrajectories(warm);
  idle_simulation->RenderScene(warm);
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* varek_render_scene() {
  return ToRgba(simulation->RenderScene(settings), scene_rgba);
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* varek_draw_signal() {
  return ToRgba(simulation->DrawDeflectionSignal(settings), signal_rgba);
}

// Where the end marks lie in the last scene picture: a German sentence,
// UTF-8, ended by a zero byte.
EMSCRIPTEN_KEEPALIVE const char* varek_beam_marks() {
  beam_marks = varek::DescribeBeamMarks(simulation->scene());
  mark_tone = varek::ToneFor(varek::PlaceMarks(simulation->scene()));
  return beam_marks.c_str();
}

// The marks' tone of the last scene picture (after varek_beam_marks): its
// pitch in Hz, 0 while silent; 1 where the marks meet.
EMSCRIPTEN_KEEPALIVE double varek_tone_hertz() { return mark_tone.silent ? 0 : mark_tone.hertz; }
EMSCRIPTEN_KEEPALIVE int varek_tone_met() { return mark_tone.met ? 1 : 0; }

// The line under the settings for the settings in force and the last
// computation: a German sentence or nothing, UTF-8, ended by a zero byte.
EMSCRIPTEN_KEEPALIVE const char* varek_reading_hint() {
  reading_hint = varek::ReadingHint({.voltage = settings.voltage,
                                     .amplitude = settings.amplitude,
                                     .deflection_on = settings.deflection_on,
                                     .screen_hit = simulation->scene().ScreenHit});
  return reading_hint.c_str();
}

// 1 when the electrons of the last computation reach the screen, else 0.
EMSCRIPTEN_KEEPALIVE int varek_screen_hit() { return simulation->scene().ScreenHit ? 1 : 0; }

// The page writes the axes picture here as R, G, B, A bytes.
EMSCRIPTEN_KEEPALIVE std::uint8_t* varek_signal_axes_rgba() { return signal_axes_rgba.data(); }

EMSCRIPTEN_KEEPALIVE void varek_apply_signal_axes() {
  varek::Bitmap axes(varek::SignalWidth, varek::SignalHeight);
  const std::uint8_t* in = signal_axes_rgba.data();
  for (varek::Pixel& p : axes.pixels) {
    p = varek::Rgb(in[0], in[1], in[2]);
    in += 4;
  }
  simulation->SetSignalBackground(axes);
}

}  // extern "C"
