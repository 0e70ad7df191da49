// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-paths: computes the electron path(s) for the settings given as flags
// and prints the outcome and every stored sample in scene units.
#include <cstdio>

#include "model/model.h"
#include "tools/flags/tool_flags.h"

int main(int argc, char** argv) {
  using namespace varek;
  ToolFlags flags;
  if (!ParseToolFlagsOrReport(FlagSet::Paths, "varek-paths", argc, argv, flags)) return 2;

  Model model(flags.settings);
  model.ComputeTrajectories(flags.settings);
  const Scene& scene = model.scene();

  std::printf("total %d\nscreen_hit %d\nstep_counter %d\n", static_cast<int>(scene.TrajectoryTotal),
              scene.ScreenHit ? 1 : 0, static_cast<int>(scene.StepCounter));
  for (int p = 1; p <= scene.TrajectoryTotal; ++p) {
    std::printf("path %d count %d\n", p, static_cast<int>(scene.TrajectoryCount[p]));
    for (int s = 1; s <= scene.TrajectoryCount[p]; ++s) {
      const Vec3i& point = scene.TrajectoryPoints[p][s];
      std::printf("%d %d %d\n", static_cast<int>(point.x), static_cast<int>(point.y),
                  static_cast<int>(point.z));
    }
  }
  return 0;
}
