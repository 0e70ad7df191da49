// The flags of varek-render: the five settings flags of the path tools plus
//
//   --turn P             ScrollBar1, turn about the tube axis, -180..180 (default 5)
//   --side P             ScrollBar2, turn about the vertical axis, -180..0 (default -25)
//   --coil on|off        coil shown (default off)
//   --transparent on|off screen see-through (default off)
//   --width 1|2          pen width of the paths (default 1)
//   --out FILE           the scene picture, PNG (required)
//   --signal-out FILE    the deflection plot, PNG (optional)
#pragma once

#include <string>

#include "tools/paths/path_flags.h"

namespace varek {

struct RenderSettings {
  PathSettings paths;
  int turn = 5;
  int side = -25;
  bool coil = false;
  bool transparent = false;
  int width = 1;
  std::string out;
  std::string signal_out;
};

// Parses argv[1..argc-1]. On a bad flag or value returns false with a
// one-line `error` that names the flag and its range.
bool ParseRenderFlags(int argc, const char* const* argv, RenderSettings& settings, std::string& error);

}  // namespace varek
