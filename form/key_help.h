// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the window and what each does: the list that F1 shows in both
// editions ("Tastenkürzel und Bedienung"), and the one step rule that only
// the keys have.
#pragma once

#include <span>
#include <string_view>

#include "form/control.h"

namespace varek::form {

// Ctrl with a page key moves a scroll bar this many page steps: 100 mA of
// the coil current, 100 V of the voltage.
inline constexpr int CoarsePageSteps = 10;

struct KeyHelp {
  std::string_view keys;    // as printed on the keyboard: "Strg+Eingabe"
  std::string_view action;  // what they do, one German sentence without a full stop
  Edition edition = Edition::Both;
};

inline constexpr std::string_view KeyHelpTitle = "Tastenkürzel und Bedienung";

// In the order shown: moving around, changing settings, the protocol, the window.
std::span<const KeyHelp> KeyHelpRows();

// The radio buttons of one panel are one group: one tab stop, the arrow
// keys choose within it. Its name for a screen reader.
struct RadioGroupName {
  std::string_view panel;
  std::string_view name;
};
std::span<const RadioGroupName> RadioGroupNames();

}  // namespace varek::form
