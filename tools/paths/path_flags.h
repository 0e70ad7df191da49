// The five settings flags of the developer tools that compute paths:
//
//   --voltage V          accelerating voltage, 50..2000 (default 1200)
//   --current MA         coil current in mA, 0..3000 (default 0)
//   --deflection on|off  deflection voltage (default off)
//   --mode dc|ac         steady or alternating deflection voltage (default dc)
//   --amplitude A        deflection amplitude, 0..300 (default 200)
//
// Each flag takes its value as the next argument. Numbers are plain decimal
// integers: no sign, exponent, fraction or trailing characters.
//
// A tool with flags of its own loops over argv and offers each argument to
// ParsePathFlag first:
//
//   PathSettings settings;
//   for (int i = 1; i < argc; ++i) {
//     std::string error;
//     switch (ParsePathFlag(argc, argv, i, settings, error)) {
//       case FlagParse::Taken: continue;      // i now points at the value
//       case FlagParse::Invalid: fail(error); // one line, names the flag
//       case FlagParse::NotMine: break;       // the tool's own flag, or unknown
//     }
//     ...
//   }
#pragma once

#include <string>

#include "model/plain_controls.h"

namespace varek {

struct PathSettings {
  int voltage = 1200;       // V
  int current = 0;          // mA
  bool deflection = false;  // deflection voltage on
  bool alternating = false; // alternating rather than steady
  int amplitude = 200;
};

enum class FlagParse {
  Taken,    // argv[i] was one of the five flags and its value was valid; i was advanced past it
  NotMine,  // argv[i] is not one of the five flags; nothing was changed
  Invalid,  // argv[i] is one of the five but its value is missing or invalid; `error` says why
};

// Reads `text` as a plain decimal integer (an optional minus sign, then
// digits only, nothing after them, within int). False, with `value` unspecified, otherwise. For
// tools that add integer flags of their own.
bool ParsePlainInteger(const char* text, int& value);

// Looks at argv[i]. On Taken, `i` is left at the flag's value, so a caller's
// `++i` of the loop moves on to the next flag.
FlagParse ParsePathFlag(int argc, const char* const* argv, int& i, PathSettings& settings,
                        std::string& error);

// The controls of a window set to `settings`; the view scroll bars keep the
// window's initial positions.
PlainControls ControlsFor(const PathSettings& settings);

}  // namespace varek
