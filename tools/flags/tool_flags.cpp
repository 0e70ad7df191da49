// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/flags/tool_flags.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace varek {

namespace {

enum class Kind { Integer, Choice, File, Scale };

// The picture scale: device pixels per picture pixel.
constexpr double LowestScale = 1;
constexpr double HighestScale = 8;

struct Flag {
  const char* name;
  FlagSet set;  // Paths: every tool; Render: varek-render only
  Kind kind;
  Range range;              // Integer
  const char* yes;          // Choice: the word for true
  const char* no;           // Choice: the word for false
  const char* placeholder;  // File
  bool required;
  int& (*integer)(ToolFlags&);
  bool& (*choice)(ToolFlags&);
  std::string& (*file)(ToolFlags&);
  double& (*decimal)(ToolFlags&) = nullptr;  // Scale
};

constexpr Flag IntegerFlag(const char* name, FlagSet set, Range range, int& (*field)(ToolFlags&)) {
  return {name,    set,   Kind::Integer, range,   nullptr, nullptr,
          nullptr, false, field,         nullptr, nullptr};
}
constexpr Flag ChoiceFlag(const char* name, FlagSet set, const char* yes, const char* no,
                          bool& (*field)(ToolFlags&)) {
  return {name, set, Kind::Choice, {}, yes, no, nullptr, false, nullptr, field, nullptr};
}
constexpr Flag FileFlag(const char* name, const char* placeholder, bool required,
                        std::string& (*field)(ToolFlags&)) {
  return {name,        FlagSet::Render, Kind::File, {},      nullptr, nullptr,
          placeholder, required,        nullptr,    nullptr, field};
}

constexpr Flag Flags[] = {
    IntegerFlag("--voltage", FlagSet::Paths, VoltageRange,
                [](ToolFlags& f) -> int& { return f.settings.voltage; }),
    IntegerFlag("--current", FlagSet::Paths, CurrentRange,
                [](ToolFlags& f) -> int& { return f.settings.current; }),
    ChoiceFlag("--deflection", FlagSet::Paths, "on", "off",
               [](ToolFlags& f) -> bool& { return f.settings.deflection_on; }),
    ChoiceFlag("--mode", FlagSet::Paths, "dc", "ac",
               [](ToolFlags& f) -> bool& { return f.settings.steady; }),
    IntegerFlag("--amplitude", FlagSet::Paths, AmplitudeRange,
                [](ToolFlags& f) -> int& { return f.settings.amplitude; }),
    IntegerFlag("--turn", FlagSet::Render, TurnAxisRange,
                [](ToolFlags& f) -> int& { return f.settings.turn_axis; }),
    IntegerFlag("--side", FlagSet::Render, TurnVerticalRange,
                [](ToolFlags& f) -> int& { return f.settings.turn_vertical; }),
    ChoiceFlag("--coil", FlagSet::Render, "on", "off",
               [](ToolFlags& f) -> bool& { return f.settings.coil_visible; }),
    ChoiceFlag("--transparent", FlagSet::Render, "on", "off",
               [](ToolFlags& f) -> bool& { return f.settings.screen_transparent; }),
    IntegerFlag("--width", FlagSet::Render, PathWidthRange,
                [](ToolFlags& f) -> int& { return f.settings.path_width; }),
    {"--scale",
     FlagSet::Render,
     Kind::Scale,
     {},
     nullptr,
     nullptr,
     "1..8",
     false,
     nullptr,
     nullptr,
     nullptr,
     [](ToolFlags& f) -> double& { return f.scale; }},
    FileFlag("--out", "scene.png", true, [](ToolFlags& f) -> std::string& { return f.out; }),
    FileFlag("--signal-out", "signal.png", false,
             [](ToolFlags& f) -> std::string& { return f.signal_out; }),
};

// Digits with at most one decimal point or comma between digits, e.g. 1.5 or 2.
bool ParsePlainDecimal(const char* text, double& value) {
  double whole = 0, unit = 1;
  bool mark = false, digit_before = false, digit_after = false;
  for (const char* c = text; *c != '\0'; ++c) {
    if ((*c == '.' || *c == ',') && !mark && digit_before) {
      mark = true;
    } else if (*c >= '0' && *c <= '9') {
      if (mark) unit /= 10, digit_after = true;
      else digit_before = true;
      whole = mark ? whole + (*c - '0') * unit : whole * 10 + (*c - '0');
      if (whole > 1e9) return false;
    } else {
      return false;
    }
  }
  value = whole;
  return digit_before && (!mark || digit_after);
}

bool Offered(const Flag& flag, FlagSet set) {
  return flag.set == FlagSet::Paths || set == FlagSet::Render;
}

std::string Expected(const Flag& flag) {
  switch (flag.kind) {
    case Kind::Integer:
      return "an integer from " + std::to_string(flag.range.lowest) + " to " +
             std::to_string(flag.range.highest);
    case Kind::Choice: return std::string(flag.yes) + " or " + flag.no;
    case Kind::File: return "a file name";
    case Kind::Scale: return "a number from 1 to 8, e.g. 1.5";
  }
  return {};
}

// Stores `value` (nullptr: missing) into the flag's field; false with `error` if it is bad.
bool Take(const Flag& flag, const char* value, ToolFlags& flags, std::string& error) {
  bool valid = value != nullptr;
  if (valid) {
    switch (flag.kind) {
      case Kind::Integer: {
        int number = 0;
        valid = ParsePlainInteger(value, number) && flag.range.Contains(number);
        if (valid) flag.integer(flags) = number;
        break;
      }
      case Kind::Choice:
        valid = std::strcmp(value, flag.yes) == 0 || std::strcmp(value, flag.no) == 0;
        if (valid) flag.choice(flags) = std::strcmp(value, flag.yes) == 0;
        break;
      case Kind::File:
        valid = *value != '\0';
        if (valid) flag.file(flags) = value;
        break;
      case Kind::Scale: {
        double number = 0;
        valid = ParsePlainDecimal(value, number) && number >= LowestScale && number <= HighestScale;
        if (valid) flag.decimal(flags) = number;
        break;
      }
    }
  }
  if (!valid) {
    error = std::string(flag.name) + ": " +
            (value == nullptr || (flag.kind == Kind::File && *value == '\0')
                 ? std::string("missing value")
                 : std::string("invalid value '") + value + "'") +
            ", expected " + Expected(flag);
  }
  return valid;
}

}  // namespace

bool ParsePlainInteger(const char* text, int& value) {
  const char* end = text + std::strlen(text);
  const char* digits = *text == '-' ? text + 1 : text;
  if (digits == end || *digits < '0' || *digits > '9') return false;
  const auto [stop, status] = std::from_chars(text, end, value);
  return status == std::errc() && stop == end;
}

bool ParseToolFlags(FlagSet set, int argc, const char* const* argv, ToolFlags& flags,
                    std::string& error) {
  // Every flag takes its value as the next argument.
  for (int i = 1; i < argc; i += 2) {
    const Flag* found = nullptr;
    for (const Flag& flag : Flags)
      if (Offered(flag, set) && std::strcmp(argv[i], flag.name) == 0) found = &flag;
    if (found == nullptr) {
      error = std::string("unknown flag '") + argv[i] + "'";
      return false;
    }
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!Take(*found, value, flags, error)) return false;
  }
  for (const Flag& flag : Flags) {
    if (Offered(flag, set) && flag.required && flag.file(flags).empty()) {
      error = std::string(flag.name) + ": missing, expected " + Expected(flag);
      return false;
    }
  }
  return true;
}

bool ParseToolFlagsOrReport(FlagSet set, const char* tool, int argc, const char* const* argv,
                            ToolFlags& flags) {
  std::string error;
  if (ParseToolFlags(set, argc, argv, flags, error)) return true;
  std::fprintf(stderr, "%s: %s; %s\n", tool, error.c_str(), UsageOf(set, tool).c_str());
  return false;
}

std::string UsageOf(FlagSet set, const char* tool) {
  std::string usage = std::string("usage: ") + tool;
  for (const Flag& flag : Flags) {
    if (!Offered(flag, set)) continue;
    std::string words = std::string(flag.name) + " ";
    switch (flag.kind) {
      case Kind::Integer:
        words += std::to_string(flag.range.lowest) + ".." + std::to_string(flag.range.highest);
        break;
      case Kind::Choice: words += std::string(flag.yes) + "|" + flag.no; break;
      case Kind::File:
      case Kind::Scale: words += flag.placeholder; break;
    }
    usage += flag.required ? " " + words : " [" + words + "]";
  }
  return usage;
}

}  // namespace varek
