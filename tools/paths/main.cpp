// varek-paths: computes the electron path(s) for the settings given as flags
// and prints the outcome and every stored sample in scene units.
#include <cstdio>
#include <string>

#include "model/scene.h"
#include "model/trajectories.h"
#include "tools/paths/path_flags.h"

namespace {

constexpr const char* Usage =
    "usage: varek-paths [--voltage 50..2000] [--current 0..3000] [--deflection on|off] "
    "[--mode dc|ac] [--amplitude 0..300]";

int Fail(const std::string& message) {
  std::fprintf(stderr, "varek-paths: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varek;
  PathSettings settings;
  for (int i = 1; i < argc; ++i) {
    std::string error;
    switch (ParsePathFlag(argc, argv, i, settings, error)) {
      case FlagParse::Taken:
        continue;
      case FlagParse::Invalid:
        return Fail(error);
      case FlagParse::NotMine:
        return Fail(std::string("unknown flag '") + argv[i] + "'; " + Usage);
    }
  }

  PlainControls controls = ControlsFor(settings);
  IdlePump pump;
  BindControls(&controls);
  BindMessagePump(&pump);
  StartUpModel();
  BuildCoilAndRings();
  InitApparatus();
  ComputeTrajectories();

  std::printf("total %d\nscreen_hit %d\nstep_counter %d\n", static_cast<int>(TrajectoryTotal),
              ScreenHit ? 1 : 0, static_cast<int>(StepCounter));
  for (int p = 1; p <= TrajectoryTotal; ++p) {
    std::printf("path %d count %d\n", p, static_cast<int>(TrajectoryCount[p]));
    for (int s = 1; s <= TrajectoryCount[p]; ++s) {
      const Vec3i& point = TrajectoryPoints[p][s];
      std::printf("%d %d %d\n", static_cast<int>(point.x), static_cast<int>(point.y),
                  static_cast<int>(point.z));
    }
  }
  return 0;
}
