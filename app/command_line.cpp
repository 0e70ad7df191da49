// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

#include "form/form1.h"
#include "form/key_help.h"
#include "tools/flags/tool_flags.h"

namespace varek {

namespace {

constexpr std::string_view kProgram = "varek-em";

// Options of QGuiApplication and QApplication, without their leading dash.
constexpr std::string_view kQtOptionsWithValue[] = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "display",         "geometry",
    "qwindowgeometry", "qwindowicon",
    "qwindowtitle",    "style",
    "stylesheet",      "session",
    "title",           "name",
    "qmljsdebugger",
};
constexpr std::string_view kQtSwitches[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::string_view (&names)[N]) {
  for (std::string_view candidate : names) {
    if (name == candidate) return true;
  }
  return false;
}

CommandLine Refuse(std::string message) {
  CommandLine refused;
  refused.action = CommandLine::Action::Refuse;
  refused.refusal = std::move(message);
  return refused;
}

const char kHelpHead[] =
    "Aufruf: varek-em [OPTION]...\n"
    "Spezifische Ladung des Elektrons - Varek-Methode: eine Simulation zur\n"
    "Bestimmung von e/m durch magnetische Fokussierung eines Elektronenstrahls\n"
    "in einer langen Spule.\n"
    "\n"
    "Optionen:\n"
    "  -h, --help        diese Hilfe zeigen und beenden\n"
    "  -V, --version     die Versionsnummer zeigen und beenden\n"
    "\n"
    "Die Optionen von Qt gelten ebenfalls, zum Beispiel -platform NAME,\n"
    "-display ANZEIGE oder -reverse.\n"
    "\n"
    "Einstellungen beim Start (wie die Werkzeuge und die Links der\n"
    "Browserausgabe sie nehmen; das Fenster öffnet dann ohne die Erklärungen):\n";

const char kHelpTail[] =
    "\n"
    "Auf Bildschirmen, die kleiner als das Fenster sind, wird das Fenster\n"
    "verkleinert dargestellt. Vollbild und Vergrößerung werden gespeichert.\n";

// `text` wrapped to lines of at most kHelpWidth characters, each indented.
constexpr std::size_t kHelpWidth = 79;
std::string Wrapped(std::string_view text, std::size_t indent) {
  const auto characters = [](std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
  };
  std::string lines, line;
  std::size_t used = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (used > 0 && indent + used + 1 + characters(word) > kHelpWidth) {
      lines += std::string(indent, ' ') + line + "\n";
      line.clear();
      used = 0;
    }
    line += (used > 0 ? " " : "") + std::string(word);
    used += (used > 0 ? 1 : 0) + characters(word);
  }
  return lines + std::string(indent, ' ') + line + "\n";
}

// The window's keys as F1 lists them: the keys on a line, what they do below.
std::string KeyLines() {
  std::string lines = "\n" + std::string(form::KeyHelpTitle) + " (auch mit F1 im Fenster):\n";
  for (const form::KeyHelp& row : form::KeyHelpRows()) {
    if (!form::ShownIn(row.edition, form::Edition::Desktop)) continue;
    lines += "  " + std::string(row.keys) + "\n" + Wrapped(row.action, 6);
  }
  return lines;
}

std::string HelpText() {
  return kHelpHead + SettingFlagLines(AllSettings()) + KeyLines() + kHelpTail;
}

const char kLicence[] =
    "Copyright 2026 die Entwickler von varek-em.\n"
    "Lizenz GPLv3+: GNU GPL Version 3 oder später <https://gnu.org/licenses/gpl.html>.\n"
    "Dies ist freie Software: Sie dürfen sie verändern und weitergeben.\n"
    "Es gibt KEINE GARANTIE, soweit das Gesetz es zulässt.\n";

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      result.action = CommandLine::Action::ShowHelp;
      continue;
    }
    if (argument == "--version" || argument == "-V") {
      if (result.action == CommandLine::Action::Run)
        result.action = CommandLine::Action::ShowVersion;
      continue;
    }
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (const auto problem = TakeSettingFlag(argument, value, result.settings)) {
      if (!problem->empty()) return Refuse(*problem);
      result.prepared = true;
      ++i;
      continue;
    }
    if (argument.size() < 2 || argument[0] != '-') {
      return Refuse("überzähliges Argument „" + std::string(argument) +
                    "“: das Programm nimmt keine Dateien oder Werte an");
    }
    std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
    const std::size_t equals = name.find('=');
    const bool value_attached = equals != std::string_view::npos;
    if (value_attached) name = name.substr(0, equals);
    if (IsOneOf(name, kQtSwitches) && !value_attached) continue;
    if (IsOneOf(name, kQtOptionsWithValue)) {
      if (value_attached) continue;
      if (i + 1 < argc) {
        ++i;
        continue;
      }
      return Refuse("der Option „" + std::string(argument) + "“ fehlt ihr Wert");
    }
    return Refuse("unbekannte Option „" + std::string(argument) + "“");
  }
  return result;
}

int ReportCommandLine(const CommandLine& command_line) {
  switch (command_line.action) {
    case CommandLine::Action::ShowHelp: std::fputs(HelpText().c_str(), stdout); return 0;
    case CommandLine::Action::ShowVersion:
      std::printf("%.*s %s\n%s", static_cast<int>(kProgram.size()), kProgram.data(), VAREK_VERSION,
                  kLicence);
      return 0;
    case CommandLine::Action::Refuse:
      std::fprintf(stderr, "%.*s: %s\nMehr dazu mit „%.*s --help“.\n",
                   static_cast<int>(kProgram.size()), kProgram.data(), command_line.refusal.c_str(),
                   static_cast<int>(kProgram.size()), kProgram.data());
      return 2;
    case CommandLine::Action::Run: break;
  }
  return 0;
}

}  // namespace varek
