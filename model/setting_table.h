// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings as one table: a row a setting, with everything the window,
// the page, the links and the command lines know of it. A new setting is a
// member of Settings and one row here.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/settings.h"

namespace varek {

// What a change of the setting asks for: new paths (and then a new picture),
// or only a new picture of the paths there are.
enum class SettingStage { Paths, View };

// How a value reads in its readout and to a screen reader: the position
// divided by 10^decimals (negated first where `negated`), always with a
// decimal comma whatever the locale, no trailing zeros after it and no
// comma for whole numbers: 1230 with three decimals reads "1,23", 3000 "3".
struct ReadoutFormat {
  int decimals = 0;
  bool negated = false;     // the side turn reads -25 as "25"
  std::string_view unit{};  // "V", "A", "Grad"; empty for a bare number
  friend bool operator==(const ReadoutFormat&, const ReadoutFormat&) = default;
};

std::string ReadoutText(const ReadoutFormat& format, int position);

struct SettingRow {
  std::string_view name;     // the link parameter and, with "--", the command-line flag
  std::string_view meaning;  // German, for the help texts
  // A number: its range, its value the control's position (a scroll bar) or
  // lowest + the index of the checked radio button among `controls`.
  // A choice: its value is true where controls[0] is checked; controls[1],
  // if any, is the radio button checked for false.
  int Settings::*number = nullptr;
  bool Settings::*choice = nullptr;
  Range range{0, 1};
  std::string_view yes{}, no{};  // a choice's words on the command line and in links
  std::string_view controls[2]{};
  SettingStage stage = SettingStage::View;
  std::optional<ReadoutFormat> readout{};  // scroll bars with a readout
  int line_step = 1, page_step = 1;        // scroll bars
  std::string_view readout_control{};      // the edit field showing the value

  constexpr bool IsChoice() const { return choice != nullptr; }
  // The value as an integer: a number itself, a choice 1 or 0.
  constexpr int ValueIn(const Settings& settings) const {
    return IsChoice() ? (settings.*choice ? 1 : 0) : settings.*number;
  }
  constexpr void SetIn(Settings& settings, int value) const {
    if (IsChoice()) settings.*choice = value != 0;
    else settings.*number = value;
  }
  constexpr int Start() const { return ValueIn(Settings{}); }
  // The check box or radio button checked for `value`; empty if none is (a
  // scroll bar's setting, a check box for false).
  constexpr std::string_view CheckedControl(int value) const {
    std::string_view checked;
    if (IsChoice()) checked = controls[value != 0 ? 0 : 1];
    else if (!controls[1].empty()) checked = controls[value - range.lowest];
    return checked;
  }
  // What a value may be, German: "eine ganze Zahl von 50 bis 2000", "on oder off".
  std::string Expected() const;
  // The value written as a link or a command line takes it: "1200", "on".
  std::string Word(int value) const;
};

// clang-format off
inline constexpr ReadoutFormat kDegrees{0, false, "Grad"};

inline constexpr SettingRow kSettingRows[] = {
    {.name = "voltage", .meaning = "Beschleunigungsspannung in V",
     .number = &Settings::voltage, .range = VoltageRange, .controls = {"ScrollBar4"},
     .stage = SettingStage::Paths, .readout = ReadoutFormat{0, false, "V"}, .page_step = 10,
     .readout_control = "Edit1"},
    {.name = "current", .meaning = "Spulenstrom in mA",
     .number = &Settings::current, .range = CurrentRange, .controls = {"ScrollBar7"},
     .stage = SettingStage::Paths, .readout = ReadoutFormat{3, false, "A"}, .page_step = 10,
     .readout_control = "Edit5"},
    {.name = "deflection", .meaning = "Ablenkspannung ein oder aus",
     .choice = &Settings::deflection_on, .yes = "on", .no = "off",
     .controls = {"AblenkEin", "AblenkAus"}, .stage = SettingStage::Paths},
    {.name = "mode", .meaning = "Art der Ablenkspannung: Gleich- (dc) oder Wechselspannung (ac)",
     .choice = &Settings::steady, .yes = "dc", .no = "ac",
     .controls = {"Gleichspannung", "Wechselspannung"}, .stage = SettingStage::Paths},
    {.name = "amplitude", .meaning = "Amplitude der Ablenkspannung",
     .number = &Settings::amplitude, .range = AmplitudeRange, .controls = {"ScrollBar3"},
     .stage = SettingStage::Paths},
    {.name = "turn", .meaning = "Drehung um die z-Achse in Grad",
     .number = &Settings::turn_axis, .range = TurnAxisRange, .controls = {"ScrollBar1"},
     .readout = kDegrees, .page_step = 5, .readout_control = "Edit7"},
    {.name = "side", .meaning = "Drehung links-rechts in Grad, negativ gezählt",
     .number = &Settings::turn_vertical, .range = TurnVerticalRange, .controls = {"ScrollBar2"},
     .readout = ReadoutFormat{0, true, "Grad"}, .page_step = 5, .readout_control = "Edit8"},
    {.name = "coil", .meaning = "Spule sichtbar",
     .choice = &Settings::coil_visible, .yes = "on", .no = "off", .controls = {"CheckBox5"}},
    {.name = "transparent", .meaning = "Schirm durchsichtig",
     .choice = &Settings::screen_transparent, .yes = "on", .no = "off",
     .controls = {"CheckBox1"}},
    {.name = "width", .meaning = "Dicke der Teilchenbahn in Pixeln",
     .number = &Settings::path_width, .range = PathWidthRange,
     .controls = {"RadioButton1", "RadioButton2"}},
};

// clang-format on

std::span<const SettingRow> SettingTable();

// The row of that name, at compile time too; a name without a row does not compile.
constexpr const SettingRow& Setting(std::string_view name) {
  for (const SettingRow& row : kSettingRows)
    if (row.name == name) return row;
  throw "no setting of that name";
}

// The row of that name or holding that control; nullptr if none.
const SettingRow* SettingNamed(std::string_view name);
const SettingRow* SettingOfControl(std::string_view control);

// The sentence for a bad value, the same on the command lines and the page:
// "Ungültiger Wert „abc“ für „voltage“: erwartet wird eine ganze Zahl von 50
// bis 2000." `quoted` is the value in quotation marks.
std::string BadValueSentence(std::string_view name, std::string_view quoted,
                             std::string_view expected);

// Reads one setting from its text; nullopt if the text is not one of its
// values. Numbers are plain decimal integers (an optional minus, digits).
std::optional<int> ParseSettingValue(const SettingRow& row, std::string_view text);

// Reads `text` as a plain decimal integer within int.
std::optional<int> ParsePlainInteger(std::string_view text);

// The keys of the scroll bars in each edition, stated once. A key moves the
// position by steps of a line or a page, or to an end, measured on:
//   Position: the position itself (the desktop's Windows rule: Left and Up
//             lower it, Right and Down raise it, whatever the orientation);
//   Value:    the value the readout shows (the page's slider rule: Up and
//             PageUp raise it);
//   Thumb:    the thumb's place, right being more (the page's Right and
//             Left); on a vertical bar the shown value.
enum class KeyEdition { Desktop, Page };
enum class KeyMeasure { Line, Page, End };
enum class KeyReference { Position, Value, Thumb };
enum class ScrollKey { ArrowLeft, ArrowRight, ArrowUp, ArrowDown, PageUp, PageDown, Home, End };
// The key's name in the page's events: "ArrowUp", "PageDown", "Home".
std::string_view KeyName(ScrollKey key);
struct KeyRule {
  ScrollKey key;
  int direction;  // +1 more, -1 less
  KeyMeasure measure;
  KeyReference reference;
};

std::span<const KeyRule> ScrollKeyRules(KeyEdition edition);

}  // namespace varek
