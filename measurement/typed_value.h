// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A value typed into the field beside a scroll bar, read as the field shows
// it: with a decimal comma (a point is taken as one), optionally followed by
// the unit, in the field's units (A for a position in mA). The field's
// scroll bar is set to the position only when the text is a number within
// its range that it can show exactly; otherwise one German sentence says why.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varek {

struct ValueField {
  int minimum = 0, maximum = 0;  // the scroll bar's positions
  int per_unit = 1;              // positions per shown unit: 1000 for mA shown in A
  int sign = 1;                  // -1 where the field shows the negated position
  std::string_view unit{};       // "A", "V", "Grad"
};

struct TypedValue {
  std::optional<int> position;
  std::string refusal;  // when there is no position
};

TypedValue ReadTypedValue(std::string_view text, const ValueField& field);

// A position as the field shows it: "1200", "0,87", "-25".
std::string ShownValue(int position, const ValueField& field);

}  // namespace varek
