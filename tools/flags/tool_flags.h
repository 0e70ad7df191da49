// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one command-line parser of the program and its tools. The settings are
// read as the table of the settings (model/setting_table.h) states them:
// "--voltage 800 --deflection on"; a tool adds flags of its own (a file, the
// focus order). Every flag but a tool's switch takes its value as the next argument; "--help"
// (or "-h") asks for the usage. Messages are German, one line each.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/setting_table.h"

namespace varek {

// A setting a tool takes; `range`, where given, narrows the table's.
struct OfferedSetting {
  std::string_view name{};
  bool required = false;
  std::optional<Range> range{};
};

// A flag of one tool beyond the settings: an integer, a decimal number
// ("1,5" or "1.5") or a file name, a number within `range`; or a switch
// that takes no value.
struct ToolFlag {
  std::string_view name{};         // "--out"
  std::string_view placeholder{};  // "szene.png"; a number flag shows its range
  std::string_view meaning{};      // German
  bool required = false;
  std::string* file = nullptr;
  int* integer = nullptr;
  double* decimal = nullptr;
  bool* on = nullptr;  // set when the switch is given
  Range range{};
};

struct ToolCommandLine {
  std::string_view tool{};
  std::string_view purpose{};  // German, a line or two for the help
  std::span<const OfferedSetting> settings{};
  std::span<const ToolFlag> flags{};
  std::string_view argument{};  // a positional argument's placeholder, "DATEI.csv", if any
  std::string* argument_value = nullptr;
};

enum class FlagsOutcome { Run, Help, Refused };

// Reads argv[1..argc-1] into `settings` and the tool's own flags. Refused:
// `error` names the flag and what it takes.
FlagsOutcome ParseFlags(const ToolCommandLine& line, int argc, const char* const* argv,
                        Settings& settings, std::string& error);

// ParseFlags; prints the usage for Help (stdout) or the error and a hint
// on one line (stderr). Returns the exit status to end with (0 or 2), nothing to run.
std::optional<int> ParseFlagsOrReport(const ToolCommandLine& line, int argc,
                                      const char* const* argv, Settings& settings);

// "Aufruf: TOOL [--voltage 50..2000] ..." and a line a flag, from the table.
std::string UsageOf(const ToolCommandLine& line);

// The lines of the help that list these settings: flag, values, meaning,
// start value.
std::string SettingFlagLines(std::span<const OfferedSetting> settings);

// For the program itself: if `flag` is "--NAME" of a setting, takes `value`
// (nullptr: missing) into `settings` and returns "" or the sentence that
// says what is wrong; nullopt for any other flag.
std::optional<std::string> TakeSettingFlag(std::string_view flag, const char* value,
                                           Settings& settings);

// Every setting of the table, as the program and varek-render take them.
std::span<const OfferedSetting> AllSettings();
// The five settings the paths depend on, as varek-paths takes them.
std::span<const OfferedSetting> PathSettings();

}  // namespace varek
