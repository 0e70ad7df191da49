// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-paths: computes the electron path(s) for the settings given as flags
// and prints the outcome and every stored sample in scene units.
#include <charconv>
#include <cstdio>
#include <string>

#include "model/model.h"
#include "tools/flags/tool_flags.h"

int main(int argc, char** argv) {
  using namespace varek;
  const ToolCommandLine line{
      .tool = "varek-paths",
      .purpose = "Berechnet die Elektronenbahnen für die Einstellungen und gibt jeden Punkt aus.",
      .settings = PathSettings()};
  Settings settings;
  if (const auto status = ParseFlagsOrReport(line, argc, argv, settings)) return *status;

  Model model(settings);
  model.ComputeTrajectories(settings);
  const Scene& scene = model.scene();

  // One text, written at once: formatting thousands of lines with printf is
  // slow in the WebAssembly build of this tool.
  std::string text;
  text.reserve(64 + static_cast<std::size_t>(scene.TrajectoryTotal) * (24 + 20 * MaxSamples));
  const auto put = [&text](const char* label, int value, char end) {
    char digits[12];
    text += label;
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    text += end;
  };
  put("total ", scene.TrajectoryTotal, '\n');
  put("screen_hit ", scene.ScreenHit ? 1 : 0, '\n');
  put("step_counter ", scene.StepCounter, '\n');
  for (int p = 1; p <= scene.TrajectoryTotal; ++p) {
    put("path ", p, ' ');
    put("count ", scene.TrajectoryCount[p], '\n');
    for (int s = 1; s <= scene.TrajectoryCount[p]; ++s) {
      const Vec3i& point = scene.TrajectoryPoints[p][s];
      put("", point.x, ' ');
      put("", point.y, ' ');
      put("", point.z, '\n');
    }
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
