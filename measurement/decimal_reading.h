// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a number that a person or a spreadsheet wrote with a decimal comma.
//
// One path for every build: the grammar is checked here and the value is
// formed with exact integer arithmetic, rounded once to the nearest double
// (ties to even), so that the desktop and the browser read every text to the
// same bits without strtod, from_chars or the C locale.
//
// Accepted: optional spaces, one optional sign, digits with at most one
// decimal comma (at least one digit), an optional exponent e or E with an
// optional sign ("1,23", "+2", "-5", ",5", "2,5e3"). Not a number: a decimal
// point, "inf", "nan", "nan(0x1)", "+-5", a Unicode minus, more than
// MaxNumberLength characters.
#pragma once

#include <cstddef>
#include <string_view>

namespace varek {

// Longer texts are no numbers: nothing a table holds needs more digits.
inline constexpr std::size_t MaxNumberLength = 40;
// Magnitudes from 1e-30 to below 1e31 are read; others are only told apart
// as too large or too small (no plausible measurement comes near either).
inline constexpr int LargestDecimalExponent = 30;

enum class NumberKind {
  Number,      // value holds it (zero included)
  NotANumber,  // the text breaks the grammar
  TooLarge,    // 1e31 or more in magnitude
  TooSmall,    // not zero, below 1e-30 in magnitude
};

struct DecimalReading {
  NumberKind kind = NumberKind::NotANumber;
  double value = 0;  // for Number; the sign alone for TooLarge and TooSmall (+1 or -1)
};

DecimalReading ReadDecimal(std::string_view text);

}  // namespace varek
