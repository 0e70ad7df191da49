// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Doubles to and from text with snprintf and strtod, giving the same text as
// std::to_chars / std::from_chars (C locale). For a standard library without
// the floating-point forms of those (the browser build's); a test holds both
// to the same results on the desktop.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varek {

// The shortest digits that read back as `value`, written plain or with an
// exponent, whichever is shorter (plain on a tie): 1200 -> "1200",
// 1.23 -> "1.23", 1e-07 -> "1e-07".
std::string PortableShortest(double value);
// printf's %.*f and %.*e.
std::string PortableFixed(double value, int decimals);
std::string PortableScientific(double value, int decimals);

// A whole text in from_chars' general form ("-1.5", "2.5e3", "inf", "nan");
// nothing for anything else. A value beyond the range of double, too large
// or too small, is ±infinity.
std::optional<double> PortableRead(std::string_view text);

}  // namespace varek
