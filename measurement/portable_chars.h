// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Doubles to text with snprintf, giving the same text as std::to_chars (C
// locale). For a standard library without the floating-point forms of it
// (the browser build's); a test holds both to the same results on the
// desktop. Reading is measurement/decimal_reading.h, one path for both.
#pragma once

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
// PortableFixed(value, decimals) with `point` for the decimal point, added
// to `text`, where FixedValue(value, decimals) is `value` (it has no more
// decimals): true then; false, with nothing added, otherwise. Without a
// text of its own: a table's thousands of currents are written at once.
bool AppendExactFixed(std::string& text, double value, int decimals, char point);
std::string PortableScientific(double value, int decimals);

}  // namespace varek
