#include "tools/render/render_flags.h"

#include <gtest/gtest.h>

#include <vector>

namespace varek {
namespace {

bool Parse(std::vector<const char*> args, RenderSettings& settings, std::string& error) {
  args.insert(args.begin(), "varek-render");
  return ParseRenderFlags(static_cast<int>(args.size()), args.data(), settings, error);
}

TEST(RenderFlags, ReadsEveryFlagAndKeepsTheDefaultsOfTheOthers) {
  RenderSettings s;
  std::string error;
  ASSERT_TRUE(Parse({"--turn", "-180", "--coil", "on", "--current", "1230", "--mode", "ac", "--out", "a.png"}, s,
                    error))
      << error;
  EXPECT_EQ(s.turn, -180);
  EXPECT_EQ(s.side, -25);
  EXPECT_TRUE(s.coil);
  EXPECT_FALSE(s.transparent);
  EXPECT_EQ(s.width, 1);
  EXPECT_EQ(s.paths.current, 1230);
  EXPECT_TRUE(s.paths.alternating);
  EXPECT_EQ(s.out, "a.png");
  EXPECT_TRUE(s.signal_out.empty());
}

TEST(RenderFlags, RejectsBadValuesNamingTheFlagAndItsRange) {
  struct Case {
    std::vector<const char*> args;
    const char* named;
  };
  const Case cases[] = {
      {{"--turn", "181", "--out", "a.png"}, "--turn: invalid value '181', expected an integer from -180 to 180"},
      {{"--side", "1", "--out", "a.png"}, "--side: invalid value '1', expected an integer from -180 to 0"},
      {{"--side", "-25x", "--out", "a.png"}, "--side"},
      {{"--turn", "--", "--out", "a.png"}, "--turn"},
      {{"--width", "0", "--out", "a.png"}, "from 1 to 2"},
      {{"--transparent", "yes", "--out", "a.png"}, "--transparent: invalid value 'yes', expected on or off"},
      {{"--out", "a.png", "--coil"}, "--coil: missing value"},
      {{"--amplitude", "301", "--out", "a.png"}, "--amplitude"},
      {{"--turn", "5"}, "--out: missing"},
      {{"--out", "a.png", "--colour", "red"}, "unknown flag '--colour'"},
  };
  for (const Case& c : cases) {
    RenderSettings s;
    std::string error;
    EXPECT_FALSE(Parse(c.args, s, error)) << c.named;
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace varek
