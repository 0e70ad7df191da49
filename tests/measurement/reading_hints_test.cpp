// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The line under the settings and a typed value, read as the field shows it.
#include <gtest/gtest.h>

#include "measurement/protocol_checks.h"
#include "measurement/reading_hints.h"
#include "measurement/typed_value.h"

namespace varek {
namespace {

TEST(ReadingHints, NameWhatKeepsTheFocusFromBeingRead) {
  const struct {
    HintFacts facts;
    const char* contains;  // "" for no hint
  } cases[] = {
      {{600, 200, true, false}, "treffen die Ablenkplatten"},
      {{1200, 200, true, false}, "Kein Leuchtfleck"},  // within the plates: the tube's wall
      {{1000, 300, true, true}, "streifen die Ablenkplatten"},
      {{1200, 24, true, true}, "Amplitude zu klein"},
      {{1200, 0, true, true}, "Amplitude 0"},
      {{1200, 200, false, true}, "Ablenkspannung"},
      {{1200, 200, true, true}, ""},
      {{50, 10, true, true}, ""},
  };
  for (const auto& c : cases) {
    const std::string hint = ReadingHint(c.facts);
    if (*c.contains == '\0') {
      EXPECT_EQ(hint, "") << c.facts.voltage << " V, amplitude " << c.facts.amplitude;
    } else {
      EXPECT_NE(hint.find(c.contains), std::string::npos) << c.contains << ": " << hint;
    }
  }
  // A reading with no mark on the screen is refused with the line's sentence.
  const Reading empty{.voltage = 600,
                      .current = 900,
                      .amplitude = 200,
                      .deflection_on = true,
                      .steady = false,
                      .screen_hit = false};
  const ReadingCheck check = CheckReading(empty);
  EXPECT_FALSE(check.row);
  EXPECT_EQ(check.refusal, ReadingHint({600, 200, true, false}));
  EXPECT_TRUE(CheckReading({.voltage = 1200,
                            .current = 1230,
                            .amplitude = 200,
                            .deflection_on = true,
                            .screen_hit = true})
                  .row);
}

TEST(TypedValue, TakesWhatTheFieldShowsAndRefusesTheRest) {
  const ValueField current{0, 3000, 1000, 1, "A"};
  const ValueField voltage{50, 2000, 1, 1, "V"};
  const ValueField left_right{-180, 0, 1, -1, "Grad"};  // the field shows the negated position
  const struct {
    const ValueField& field;
    const char* text;
    std::optional<int> position;
    const char* refusal_contains;
  } cases[] = {
      {current, "1,23", 1230, ""},
      {current, "1.23", 1230, ""},
      {current, " 0,001 A ", 1, ""},
      {current, "3", 3000, ""},
      {current, "0,0005", {}, "0,001 A"},
      {current, "3,001", {}, "von 0 bis 3 A"},
      {current, "-1", {}, "außerhalb"},
      {current, "1,2,3", {}, "keine Zahl"},
      {voltage, "900", 900, ""},
      {voltage, "900 V", 900, ""},
      {voltage, "49", {}, "von 50 bis 2000 V"},
      {voltage, "900,5", {}, "Schritte von 1 V"},
      {voltage, "", {}, "keine Zahl"},
      {voltage, "1e3", 1000, ""},
      {voltage, "1e40", {}, "außerhalb"},
      {left_right, "25", -25, ""},
      {left_right, "-5", {}, "von 0 bis 180 Grad"},
  };
  for (const auto& c : cases) {
    const TypedValue typed = ReadTypedValue(c.text, c.field);
    EXPECT_EQ(typed.position, c.position) << '"' << c.text << '"';
    EXPECT_NE(typed.refusal.find(c.refusal_contains), std::string::npos)
        << '"' << c.text << "\": " << typed.refusal;
    if (!c.position) {
      EXPECT_FALSE(typed.refusal.empty()) << c.text;
    }
  }
  EXPECT_EQ(ShownValue(870, current), "0,87");
  EXPECT_EQ(ShownValue(-25, left_right), "25");
}

}  // namespace
}  // namespace varek
