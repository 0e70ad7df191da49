// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/flags/tool_flags.h"

#include <gtest/gtest.h>

#include <vector>

namespace varek {
namespace {

std::string out;
double scale = 1;
const ToolFlag kOut[] = {
    {.name = "--out", .placeholder = "szene.png", .required = true, .file = &out},
    {.name = "--scale", .decimal = &scale, .range = {1, 8}}};
const ToolCommandLine kRender{.tool = "varek-render", .settings = AllSettings(), .flags = kOut};

FlagsOutcome Parse(std::vector<const char*> args, Settings& settings, std::string& error,
                   const ToolCommandLine& line = kRender) {
  args.insert(args.begin(), "varek-render");
  out.clear();
  return ParseFlags(line, static_cast<int>(args.size()), args.data(), settings, error);
}

// Each setting of the table is read by its name and words; the others keep
// their start values.
TEST(ToolFlags, EverySettingIsReadByItsRow) {
  for (const SettingRow& row : SettingTable()) {
    const int value = row.IsChoice() ? 1 - row.Start() : row.range.highest;
    const std::string flag = "--" + std::string(row.name), word = row.Word(value);
    Settings settings;
    std::string error;
    ASSERT_EQ(Parse({flag.c_str(), word.c_str(), "--out", "a.png"}, settings, error),
              FlagsOutcome::Run)
        << error;
    EXPECT_EQ(row.ValueIn(settings), value) << flag;
    Settings expected;
    row.SetIn(expected, value);
    EXPECT_EQ(settings, expected) << flag;
    EXPECT_EQ(out, "a.png");
  }
  // A decimal flag takes a comma or a point.
  for (const char* word : {"1,5", "1.5"}) {
    Settings settings;
    std::string error;
    ASSERT_EQ(Parse({"--scale", word, "--out", "a.png"}, settings, error), FlagsOutcome::Run)
        << error;
    EXPECT_EQ(scale, 1.5) << word;
  }
}

TEST(ToolFlags, RefusalsAreOneGermanSentenceNamingTheFlag) {
  const struct {
    std::vector<const char*> args;
    const char* named;
  } cases[] = {
      {{"--turn", "181", "--out", "a.png"},
       "Ungültiger Wert „181“ für „turn“: erwartet wird eine ganze Zahl von -180 bis 180."},
      {{"--side", "-25x", "--out", "a.png"}, "für „side“"},
      {{"--width", "0", "--out", "a.png"}, "von 1 bis 2"},
      {{"--transparent", "yes", "--out", "a.png"},
       "Ungültiger Wert „yes“ für „transparent“: erwartet wird on oder off."},
      {{"--out", "a.png", "--coil"}, "--coil: Wert fehlt, erwartet wird on oder off."},
      {{"--turn", "5"}, "--out fehlt."},
      {{"--out", "a.png", "--colour", "red"}, "Unbekannter Schalter „--colour“."},
      {{"--scale", "0,5", "--out", "a.png"},
       "Ungültiger Wert „0,5“ für „scale“: erwartet wird eine Zahl von 1 bis 8, etwa 1,5."},
      {{"--scale", "1.", "--out", "a.png"}, "für „scale“"},
      {{"--scale", "8.01", "--out", "a.png"}, "für „scale“"},
  };
  for (const auto& c : cases) {
    Settings settings;
    std::string error;
    EXPECT_EQ(Parse(c.args, settings, error), FlagsOutcome::Refused) << c.named;
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
  // varek-paths takes only what the paths depend on.
  const ToolCommandLine paths{.tool = "varek-paths", .settings = PathSettings()};
  Settings settings;
  std::string error;
  EXPECT_EQ(Parse({"--turn", "5"}, settings, error, paths), FlagsOutcome::Refused);
  EXPECT_EQ(Parse({"--mode", "ac", "--help"}, settings, error, paths), FlagsOutcome::Help);
}

}  // namespace
}  // namespace varek
