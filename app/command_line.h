// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line, read before the application object exists so
// that --help and --version work without a display.
#pragma once

#include <string>

#include "model/settings.h"

namespace varek {

struct CommandLine {
  enum class Action { Run, ShowHelp, ShowVersion, Refuse };
  Action action = Action::Run;
  std::string refusal;  // the German message when action is Refuse
  // The settings to start with; prepared when the command line named one,
  // and the window then opens past the information page, as a link does.
  Settings settings;
  bool prepared = false;
};

// Knows --help (-h), --version (-V), the settings as the tools and the links
// take them (--voltage 800 --deflection on), and Qt's own options (-platform
// NAME, -display NAME, -style NAME, -reverse, ...; also written with two
// dashes or as -option=value), which it leaves to QApplication. Anything else
// is refused.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// Prints help or version to stdout, or the refusal with a hint to stderr, and
// returns the exit status: 0, or 2 for a refused command line.
int ReportCommandLine(const CommandLine& command_line);

}  // namespace varek
