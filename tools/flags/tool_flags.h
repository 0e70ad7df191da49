// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The flags of the developer tools, parsed and described from one table.
//
//   --voltage V          accelerating voltage, 50..2000 (default 1200)
//   --current MA         coil current in mA, 0..3000 (default 0)
//   --deflection on|off  deflection voltage (default off)
//   --mode dc|ac         steady or alternating deflection voltage (default dc)
//   --amplitude A        deflection amplitude, 0..300 (default 200)
// varek-render also takes
//   --turn P             turn about the tube axis, -180..180 (default 5)
//   --side P             turn about the vertical axis, -180..0 (default -25)
//   --coil on|off        coil shown (default off)
//   --transparent on|off screen see-through (default off)
//   --width 1|2          pen width of the paths (default 1)
//   --scale K            device pixels per picture pixel, 1..8, e.g. 1.5 (default 1)
//   --out FILE           the scene picture, PNG (required)
//   --signal-out FILE    the deflection plot, PNG (optional)
//
// Each flag takes its value as the next argument. Numbers are plain decimal
// integers: an optional minus sign, digits, nothing else.
#pragma once

#include <string>

#include "model/settings.h"

namespace varek {

enum class FlagSet {
  Paths,   // varek-paths: the five settings of the paths
  Render,  // varek-render: those, the view and picture options and the files
};

struct ToolFlags {
  Settings settings;
  std::string out;
  std::string signal_out;
  double scale = 1;  // the pictures drawn this many times as large
};

// Parses argv[1..argc-1]. On a bad, missing or unknown flag returns false
// with a one-line `error` that names the flag and what it takes.
bool ParseToolFlags(FlagSet set, int argc, const char* const* argv, ToolFlags& flags,
                    std::string& error);

// ParseToolFlags for the tool named `tool`; on a bad command line prints the
// error and the usage on one line of stderr and returns false.
bool ParseToolFlagsOrReport(FlagSet set, const char* tool, int argc, const char* const* argv,
                            ToolFlags& flags);

// "usage: TOOL [--voltage 50..2000] ...", made from the same table.
std::string UsageOf(FlagSet set, const char* tool);

// Reads `text` as a plain decimal integer within int. False otherwise.
bool ParsePlainInteger(const char* text, int& value);

}  // namespace varek
