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
// The page runs a few such workers side by side (picture_worker_client.js)
// and keeps the paths each of them computed as bytes (model/path_cache.h):
// a setting that any of them computed is drawn at once by any of them, and
// in idle time they compute the neighbours of the settings shown on a
// simulation of their own, without touching the scene shown.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/reading_hints.h"
#include "measurement/text_excerpt.h"
#include "model/path_cache.h"
#include "model/setting_table.h"
#include "model/trajectories.h"
#include "render/beam_marks.h"
#include "render/deflection_signal.h"
#include "render/simulation.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// About 50 kB a kept result at the longest paths, two of them: the page
// keeps 256 (12 MB at most) for all its workers; a worker itself keeps
// only those it was given or computed last.
constexpr int PageKeptResults = 256;
constexpr std::size_t WorkerKeptResults = 8;

std::unique_ptr<varek::Simulation> simulation;
varek::Settings settings;
// The settings before the last change: their neighbours onwards come first.
varek::Settings settings_before;
varek::PathCache path_cache(WorkerKeptResults);
// Computes the neighbours, and the warm-up: the shown scene stays as it is.
std::unique_ptr<varek::Simulation> idle_simulation;
// The neighbour computed in parts on the idle simulation, if any: its
// settings and the integration so far.
struct NoStop : varek::StepObserver {
  bool EndPathNow() override { return false; }
} no_stop;
varek::Settings prepared;
std::unique_ptr<varek::PathIntegration> preparation;
// Whether this module has integrated a path that leaves the axis: such a
// computation runs the step loops and the extended arithmetic that the
// warm-up is for.
bool turning_paths_run = false;
// The warm-up (varek_warm_up_on): a turning path, with the plates and then
// in the field alone; its integration so far, and whether it is done.
constexpr varek::Settings WarmUpSettings{
    .voltage = 2000, .current = 1000, .amplitude = 10, .deflection_on = true, .steady = false};
std::unique_ptr<varek::PathIntegration> warm_up;
bool warmed_up = false;
// Kept paths as bytes, handed over or given by the page.
Bytes packed_paths;
// The neighbours' settings, row by row of the table of the settings.
std::vector<std::int32_t> neighbour_values;
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

// A picture handed over: its pixels are the bytes R, G, B, 255 already
// (render/bitmap.h), in the simulation until its next picture.
const std::uint8_t* HandOver(const varek::Bitmap& picture) {
  picture_width = picture.width;
  picture_height = picture.height;
  return reinterpret_cast<const std::uint8_t*>(picture.pixels.data());
}

// Notes whether the paths just integrated into `scene` left the axis.
void NoteComputed(const varek::Scene& scene) {
  const varek::Path& path = scene.TrajectoryPoints[1];
  for (int s = 1; s <= scene.TrajectoryCount[1] && !turning_paths_run; ++s)
    turning_paths_run = path[s].y != 0 || path[s].z != 0;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void varek_create() {
  settings = varek::Settings{};
  simulation = std::make_unique<varek::Simulation>(settings);
  idle_simulation = std::make_unique<varek::Simulation>(settings);
}

// One setting by its row in the table of the settings (a choice 1 or 0):
// of the settings in force, or (before = 1) of those before the last change.
EMSCRIPTEN_KEEPALIVE void varek_set_setting(int row, int value, int before) {
  const auto rows = varek::SettingTable();
  if (row >= 0 && static_cast<std::size_t>(row) < rows.size())
    rows[static_cast<std::size_t>(row)].SetIn(before != 0 ? settings_before : settings, value);
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

EMSCRIPTEN_KEEPALIVE int varek_prepare_on(int samples);

// The paths for the settings in force: kept ones, or computed and kept. A
// neighbour with these paths under way is computed on to its end.
EMSCRIPTEN_KEEPALIVE void varek_compute() {
  if (preparation && varek::PathKey(prepared) == varek::PathKey(settings))
    varek_prepare_on(std::numeric_limits<int>::max());
  if (path_cache.Recall(settings, simulation->model().mutable_scene())) return;
  simulation->ComputeTrajectories(settings);
  NoteComputed(simulation->scene());
  path_cache.Keep(settings, simulation->scene());
}

// How many kept results the page holds for all its workers.
EMSCRIPTEN_KEEPALIVE int varek_page_kept_results() { return PageKeptResults; }

// The kept paths of the settings in force as bytes (varek_packed_size() of
// them); none when they are not kept.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* varek_pack_paths() {
  packed_paths = path_cache.Packed(settings);
  return packed_paths.data();
}

EMSCRIPTEN_KEEPALIVE int varek_packed_size() { return static_cast<int>(packed_paths.size()); }

// The page writes `size` bytes of paths that varek_pack_paths gave here ...
EMSCRIPTEN_KEEPALIVE std::uint8_t* varek_paths_room(int size) {
  packed_paths.assign(static_cast<std::size_t>(size), 0);
  return packed_paths.data();
}

// ... and they are kept as the paths of the settings in force: 1, or 0
// when they are not such bytes.
EMSCRIPTEN_KEEPALIVE int varek_keep_paths() {
  return path_cache.KeepPacked(settings, packed_paths) ? 1 : 0;
}

// Idle work, in parts: starts the paths of the settings in force on the
// idle simulation (the scene shown stays as it is) ...
EMSCRIPTEN_KEEPALIVE void varek_start_preparing() {
  // A warm-up left part-way (a request came first) starts afresh later: its
  // state would go on over the scene that these paths overwrite.
  warm_up.reset();
  prepared = settings;
  preparation = std::make_unique<varek::PathIntegration>(idle_simulation->model().mutable_scene(),
                                                         prepared, no_stop);
}

// ... and computes them on, for at most `samples` more samples: 1 when they
// are done (and kept) or none are under way, else 0.
EMSCRIPTEN_KEEPALIVE int varek_prepare_on(int samples) {
  if (!preparation) return 1;
  if (!preparation->Continue(samples)) return 0;
  NoteComputed(idle_simulation->scene());
  path_cache.Keep(prepared, idle_simulation->scene());
  preparation.reset();
  return 1;
}

// The neighbours of the settings in force (PathNeighbours, from those
// before the last change): their count, and at varek_neighbour_values()
// every row's value of each.
EMSCRIPTEN_KEEPALIVE int varek_neighbours() {
  const auto rows = varek::SettingTable();
  const std::vector<varek::Settings> neighbours = varek::PathNeighbours(settings, settings_before);
  neighbour_values.clear();
  for (const varek::Settings& neighbour : neighbours)
    for (const varek::SettingRow& row : rows) neighbour_values.push_back(row.ValueIn(neighbour));
  return static_cast<int>(neighbours.size());
}

EMSCRIPTEN_KEEPALIVE const std::int32_t* varek_neighbour_values() {
  return neighbour_values.data();
}

// The scale of the pictures: device pixels per picture pixel, 1 below 1 (as
// the desktop's window and varek-render --scale draw them).
EMSCRIPTEN_KEEPALIVE void varek_set_picture_scale(double scale) {
  simulation->SetPictureScale(scale > 1 ? static_cast<varek::Extended>(scale) : varek::Extended(1));
}

// The size of the last picture handed over, in pixels.
EMSCRIPTEN_KEEPALIVE int varek_picture_width() { return picture_width; }
EMSCRIPTEN_KEEPALIVE int varek_picture_height() { return picture_height; }

// A short computation that runs the integration's step loops and the
// extended arithmetic, and its picture, once, on the idle simulation: the
// engine first runs new code in its baseline tier and queues the
// optimisation of a function once that code has run a certain amount (the
// step spends it in a few hundred steps); it compiles the function aside,
// about 50 ms for the step, and the next call runs optimised code. About a
// sixth of the heavy cases' steps. The worker runs its first samples as soon
// as the module has started, while the page is still being built and has not
// asked for a picture yet, so that the step's optimised code is compiled
// before a heavy first picture needs it; the rest comes at once after the
// first pictures. None where this module has integrated a path that
// left the axis already (a link to turning paths, their neighbours): that ran
// the same code, and the warm-up would only cost time, 10 to 40 ms, where a
// request may wait for it.
// At most `samples` more samples: 1 when the warm-up is done, else 0.
EMSCRIPTEN_KEEPALIVE int varek_warm_up_on(int samples) {
  // None while a neighbour under way holds the idle simulation's scene: it
  // runs the integration as well.
  if (warmed_up || turning_paths_run || preparation) return 1;
  if (!warm_up)
    warm_up = std::make_unique<varek::PathIntegration>(idle_simulation->model().mutable_scene(),
                                                       WarmUpSettings, no_stop);
  if (!warm_up->Continue(samples)) return 0;
  idle_simulation->RenderScene(WarmUpSettings);
  warm_up.reset();
  warmed_up = true;
  return 1;
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* varek_render_scene() {
  return HandOver(simulation->RenderScene(settings));
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* varek_draw_signal() {
  return HandOver(simulation->DrawDeflectionSignal(settings));
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
