// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/flags/tool_flags.h"

#include <cstdio>

#include "measurement/text_excerpt.h"

namespace varek {

namespace {

std::string RangeWords(Range range) {
  return std::to_string(range.lowest) + ".." + std::to_string(range.highest);
}

std::string ExpectedNumber(Range range) {
  return "eine ganze Zahl von " + std::to_string(range.lowest) + " bis " +
         std::to_string(range.highest);
}

std::string Missing(std::string_view flag, const std::string& expected) {
  return std::string(flag) + ": Wert fehlt, erwartet wird " + expected + ".";
}

std::string Bad(std::string_view flag, const char* value, const std::string& expected) {
  return BadValueSentence(flag.substr(2), QuotedExcerpt(value), expected);
}

Range RangeOf(const OfferedSetting& offered, const SettingRow& row) {
  return offered.range.value_or(row.range);
}

std::string ExpectedOf(const OfferedSetting& offered, const SettingRow& row) {
  return row.IsChoice() ? row.Expected() : ExpectedNumber(RangeOf(offered, row));
}

// Takes `value` for the setting; "" or what is wrong.
std::string TakeSetting(const OfferedSetting& offered, const SettingRow& row, std::string_view flag,
                        const char* value, Settings& settings) {
  if (value == nullptr) return Missing(flag, ExpectedOf(offered, row));
  const std::optional<int> number = ParseSettingValue(row, value);
  if (!number || (!row.IsChoice() && !RangeOf(offered, row).Contains(*number)))
    return Bad(flag, value, ExpectedOf(offered, row));
  row.SetIn(settings, *number);
  return {};
}

// Digits with at most one decimal point or comma between digits: "2", "1,5", "1.5".
std::optional<double> ParsePlainDecimal(std::string_view text) {
  double whole = 0, unit = 1;
  bool mark = false, digit_before = false, digit_after = false;
  for (const char c : text) {
    if ((c == '.' || c == ',') && !mark && digit_before) {
      mark = true;
    } else if (c >= '0' && c <= '9') {
      if (mark) {
        unit /= 10;
        digit_after = true;
      } else {
        digit_before = true;
      }
      whole = mark ? whole + (c - '0') * unit : whole * 10 + (c - '0');
      if (whole > 1e9) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!digit_before || (mark && !digit_after)) return std::nullopt;
  return whole;
}

std::string ExpectedOf(const ToolFlag& flag) {
  if (flag.integer) return ExpectedNumber(flag.range);
  if (flag.decimal)
    return "eine Zahl von " + std::to_string(flag.range.lowest) + " bis " +
           std::to_string(flag.range.highest) + ", etwa 1,5";
  return "ein Dateiname";
}

std::string TakeToolFlag(const ToolFlag& flag, const char* value) {
  const std::string expected = ExpectedOf(flag);
  if (value == nullptr || (flag.file && *value == '\0')) return Missing(flag.name, expected);
  if (flag.file) {
    *flag.file = value;
    return {};
  }
  if (flag.decimal) {
    const std::optional<double> number = ParsePlainDecimal(value);
    if (!number || *number < flag.range.lowest || *number > flag.range.highest)
      return Bad(flag.name, value, expected);
    *flag.decimal = *number;
    return {};
  }
  const std::optional<int> number = ParsePlainInteger(value);
  if (!number || !flag.range.Contains(*number)) return Bad(flag.name, value, expected);
  *flag.integer = *number;
  return {};
}

std::string FlagName(std::string_view name) { return "--" + std::string(name); }

std::vector<OfferedSetting> Offer(bool paths_only) {
  std::vector<OfferedSetting> offered;
  for (const SettingRow& row : SettingTable())
    if (!paths_only || row.stage == SettingStage::Paths) offered.push_back({row.name});
  return offered;
}

// One help line: the flag with its values, padded, then what it means.
std::string HelpLine(const std::string& flag, const std::string& meaning) {
  constexpr std::size_t kColumn = 26;
  std::string line = "  " + flag;
  line += line.size() < kColumn ? std::string(kColumn - line.size(), ' ') : std::string(" ");
  return line + meaning + "\n";
}

std::string ValuesOf(const OfferedSetting& offered, const SettingRow& row) {
  return row.IsChoice() ? std::string(row.yes) + "|" + std::string(row.no)
                        : RangeWords(RangeOf(offered, row));
}

}  // namespace

std::span<const OfferedSetting> AllSettings() {
  static const std::vector<OfferedSetting> all = Offer(false);
  return all;
}

std::span<const OfferedSetting> PathSettings() {
  static const std::vector<OfferedSetting> paths = Offer(true);
  return paths;
}

std::optional<std::string> TakeSettingFlag(std::string_view flag, const char* value,
                                           Settings& settings) {
  if (!flag.starts_with("--")) return std::nullopt;
  const SettingRow* row = SettingNamed(flag.substr(2));
  if (row == nullptr) return std::nullopt;
  return TakeSetting({row->name}, *row, flag, value, settings);
}

FlagsOutcome ParseFlags(const ToolCommandLine& line, int argc, const char* const* argv,
                        Settings& settings, std::string& error) {
  std::vector<std::string_view> given;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") return FlagsOutcome::Help;
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    std::optional<std::string> problem;
    bool takes_value = true;
    for (const OfferedSetting& offered : line.settings) {
      if (argument == FlagName(offered.name)) {
        problem = TakeSetting(offered, *SettingNamed(offered.name), argument, value, settings);
        given.push_back(offered.name);
      }
    }
    for (const ToolFlag& flag : line.flags) {
      if (argument == flag.name) {
        takes_value = flag.on == nullptr;
        problem = takes_value ? TakeToolFlag(flag, value) : std::string();
        if (!takes_value) *flag.on = true;
        given.push_back(flag.name);
      }
    }
    if (!problem && line.argument_value && !argument.starts_with('-') &&
        line.argument_value->empty()) {
      *line.argument_value = argument;
      continue;
    }
    if (!problem) {
      error = "Unbekannter Schalter " + QuotedExcerpt(argument) + ".";
      return FlagsOutcome::Refused;
    }
    if (!problem->empty()) {
      error = *problem;
      return FlagsOutcome::Refused;
    }
    if (takes_value) ++i;
  }
  const auto absent = [&given](std::string_view name) {
    for (std::string_view g : given)
      if (g == name) return false;
    return true;
  };
  for (const OfferedSetting& offered : line.settings) {
    if (offered.required && absent(offered.name)) {
      error = FlagName(offered.name) + " fehlt.";
      return FlagsOutcome::Refused;
    }
  }
  for (const ToolFlag& flag : line.flags) {
    if (flag.required && absent(flag.name)) {
      error = std::string(flag.name) + " fehlt.";
      return FlagsOutcome::Refused;
    }
  }
  if (line.argument_value && line.argument_value->empty()) {
    error = std::string(line.argument) + " fehlt.";
    return FlagsOutcome::Refused;
  }
  return FlagsOutcome::Run;
}

std::optional<int> ParseFlagsOrReport(const ToolCommandLine& line, int argc,
                                      const char* const* argv, Settings& settings) {
  std::string error;
  const std::string tool(line.tool);
  switch (ParseFlags(line, argc, argv, settings, error)) {
    case FlagsOutcome::Run: return std::nullopt;
    case FlagsOutcome::Help: std::fputs(UsageOf(line).c_str(), stdout); return 0;
    case FlagsOutcome::Refused:
      std::fprintf(stderr, "%s: %s Mehr dazu mit „%s --help“.\n", tool.c_str(), error.c_str(),
                   tool.c_str());
      return 2;
  }
  return 2;
}

std::string SettingFlagLines(std::span<const OfferedSetting> settings) {
  std::string lines;
  for (const OfferedSetting& offered : settings) {
    const SettingRow& row = *SettingNamed(offered.name);
    const std::string start = offered.required ? "" : " (Start: " + row.Word(row.Start()) + ")";
    lines += HelpLine(FlagName(row.name) + " " + ValuesOf(offered, row),
                      std::string(row.meaning) + start);
  }
  return lines;
}

std::string UsageOf(const ToolCommandLine& line) {
  std::string usage = "Aufruf: " + std::string(line.tool);
  const auto add = [&usage](const std::string& words, bool required) {
    usage += required ? " " + words : " [" + words + "]";
  };
  for (const OfferedSetting& offered : line.settings)
    add(FlagName(offered.name) + " " + ValuesOf(offered, *SettingNamed(offered.name)),
        offered.required);
  std::string flag_lines;
  for (const ToolFlag& flag : line.flags) {
    std::string words = std::string(flag.name);
    if (flag.on == nullptr)
      words += " " + (flag.integer || flag.decimal ? RangeWords(flag.range)
                                                   : std::string(flag.placeholder));
    add(words, flag.required);
    flag_lines += HelpLine(words, std::string(flag.meaning));
  }
  if (!line.argument.empty()) usage += " " + std::string(line.argument);
  return usage + "\n" + std::string(line.purpose) + "\n\nOptionen:\n" +
         SettingFlagLines(line.settings) + flag_lines +
         HelpLine("-h, --help", "diese Hilfe zeigen und beenden");
}

}  // namespace varek
