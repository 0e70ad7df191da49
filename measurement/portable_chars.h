// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Doubles to text with snprintf, giving the same text as std::to_chars (C
// locale). For a standard library without the floating-point forms of it
// (the browser build's); a test holds both to the same results on the
// desktop. Reading is measurement/decimal_reading.h, one path for both.
#pragma once

#include <cstddef>
#include <string>

namespace varek {

// The shortest digits that read back as `value`, written plain or with an
// exponent, whichever is shorter (plain on a tie): 1200 -> "1200",
// 1.23 -> "1.23", 1e-07 -> "1e-07".
std::string PortableShortest(double value);
// printf's %.*f and %.*e.
std::string PortableFixed(double value, int decimals);
// The double that PortableFixed(value, decimals) reads back as: 12.34567
// with 3 decimals -> 12.346 (the double nearest to it).
double FixedValue(double value, int decimals);
// The most characters WriteExactFixed writes: a sign, 20 digits, the point
// (or a zero, the point and 19 decimals).
inline constexpr std::size_t MostExactFixedChars = 24;
// PortableFixed(value, decimals) with `point` for the decimal point, written
// at `out` (room for MostExactFixedChars), where FixedValue(value, decimals)
// is `value` (it has no more decimals): the end of it then; nullptr,
// with nothing written, otherwise. Without a text of its own: a table's
// thousands of currents are written at once.
char* WriteExactFixed(char* out, double value, int decimals, char point);
std::string PortableScientific(double value, int decimals);

}  // namespace varek
