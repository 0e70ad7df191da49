// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/flags/tool_flags.h"

#include <gtest/gtest.h>

#include <vector>

namespace varek {
namespace {

bool Parse(std::vector<const char*> args, ToolFlags& flags, std::string& error,
           FlagSet set = FlagSet::Render) {
  args.insert(args.begin(), "varek-render");
  return ParseToolFlags(set, static_cast<int>(args.size()), args.data(), flags, error);
}

TEST(ToolFlags, ReadsEveryFlagAndKeepsTheDefaultsOfTheOthers) {
  ToolFlags s;
  std::string error;
  ASSERT_TRUE(Parse(
      {"--turn", "-180", "--coil", "on", "--current", "1230", "--mode", "ac", "--out", "a.png"}, s,
      error))
      << error;
  EXPECT_EQ(s.settings.turn_axis, -180);
  EXPECT_EQ(s.settings.turn_vertical, -25);
  EXPECT_TRUE(s.settings.coil_visible);
  EXPECT_FALSE(s.settings.screen_transparent);
  EXPECT_EQ(s.settings.path_width, 1);
  EXPECT_EQ(s.settings.current, 1230);
  EXPECT_FALSE(s.settings.steady);
  EXPECT_EQ(s.out, "a.png");
  EXPECT_TRUE(s.signal_out.empty());
  EXPECT_EQ(s.scale, 1);
  for (const char* scale : {"1,5", "1.5"}) {
    ASSERT_TRUE(Parse({"--scale", scale, "--out", "a.png"}, s, error)) << error;
    EXPECT_EQ(s.scale, 1.5) << scale;
  }
}

TEST(ToolFlags, RejectsBadValuesNamingTheFlagAndItsRange) {
  struct Case {
    std::vector<const char*> args;
    const char* named;
  };
  const Case cases[] = {
      {{"--turn", "181", "--out", "a.png"},
       "--turn: invalid value '181', expected an integer from -180 to 180"},
      {{"--side", "1", "--out", "a.png"},
       "--side: invalid value '1', expected an integer from -180 to 0"},
      {{"--side", "-25x", "--out", "a.png"}, "--side"},
      {{"--turn", "--", "--out", "a.png"}, "--turn"},
      {{"--width", "0", "--out", "a.png"}, "from 1 to 2"},
      {{"--transparent", "yes", "--out", "a.png"},
       "--transparent: invalid value 'yes', expected on or off"},
      {{"--out", "a.png", "--coil"}, "--coil: missing value"},
      {{"--amplitude", "301", "--out", "a.png"}, "--amplitude"},
      {{"--turn", "5"}, "--out: missing"},
      {{"--out", "a.png", "--colour", "red"}, "unknown flag '--colour'"},
      {{"--scale", "0,5", "--out", "a.png"}, "--scale: invalid value '0,5', expected a number"},
      {{"--scale", "1.", "--out", "a.png"}, "--scale"},
      {{"--scale", "8.01", "--out", "a.png"}, "--scale"},
  };
  for (const Case& c : cases) {
    ToolFlags s;
    std::string error;
    EXPECT_FALSE(Parse(c.args, s, error)) << c.named;
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

// The usage text comes from the table the parser reads: varek-paths lists and
// takes only the five settings of the paths.
TEST(ToolFlags, UsageListsWhatEachToolTakes) {
  const std::string paths = UsageOf(FlagSet::Paths, "varek-paths");
  EXPECT_EQ(paths,
            "usage: varek-paths [--voltage 50..2000] [--current 0..3000] [--deflection on|off] "
            "[--mode dc|ac] [--amplitude 0..300]");
  ToolFlags s;
  std::string error;
  EXPECT_FALSE(Parse({"--turn", "5"}, s, error, FlagSet::Paths));
  EXPECT_NE(UsageOf(FlagSet::Render, "varek-render").find(" --out scene.png [--signal-out"),
            std::string::npos);
}

}  // namespace
}  // namespace varek
