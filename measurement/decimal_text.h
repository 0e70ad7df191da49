// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as German text: decimal comma, no digit grouping, independent of
// any locale (written with std::to_chars, read with std::from_chars).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varek {

// The shortest text that reads back as the same double: 1.23 -> "1,23", 1200 -> "1200".
std::string DecimalText(double value);
// A fixed number of decimals: (7.72834, 2) -> "7,73".
std::string FixedText(double value, int decimals);
// A value with `significant` digits in powers of ten and, when given, an
// uncertainty in the same power: "1,7683e11 C/kg ± 0,0021e11 C/kg".
std::string ValueWithUncertainty(double value, std::optional<double> uncertainty,
                                 std::string_view unit, int significant = 5);

// Reads a decimal number with a decimal comma ("1,23", "1200", "-5", "2,5e3");
// surrounding spaces are allowed. Nothing for anything else, a decimal point
// included. Infinities and NaN come back as such: the caller refuses them.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace varek
