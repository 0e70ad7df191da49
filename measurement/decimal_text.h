// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as German text: decimal comma, no digit grouping, independent of
// any locale (written with std::to_chars, or where the standard library has
// none, with the equivalent of measurement/portable_chars.h). Reading is
// measurement/decimal_reading.h.
//
// Files keep the hyphen-minus ("-0,3"); texts for a person use the minus
// sign U+2212 ("−0,3") and school notation for powers of ten.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varek {

// The shortest text that reads back as the same double: 1.23 -> "1,23", 1200 -> "1200".
std::string DecimalText(double value);
// The most characters DecimalText writes: "-2.2250738585072014e-308".
inline constexpr std::size_t MostDecimalChars = 24;
// DecimalText(value) written at `out` (room for MostDecimalChars): the end
// of it. A whole number of up to five digits (a voltage) without a text of
// its own.
char* WriteDecimalText(char* out, double value);
// A fixed number of decimals: (7.72834, 2) -> "7,73".
std::string FixedText(double value, int decimals);

// "1 MB", "64 kB", "500 Bytes": a size limit in words.
std::string SizeInWords(std::size_t bytes);

// The text with every hyphen-minus made the minus sign U+2212.
std::string ForPerson(std::string_view text);
// An exponent in superscript digits: 11 -> "¹¹", -3 -> "⁻³".
std::string Superscript(int exponent);
// The power of ten nearest to `value`: 1e9 -> "10⁹".
std::string PowerOfTenText(double value);

// A value with `significant` digits times the power of ten of the value as
// rounded, and when given, an uncertainty in the same power:
// "(1,7678 ± 0,0032) · 10¹¹ C/kg", "1,7678 · 10¹¹ C/kg", "(2,5 ± 0,1) C/kg"
// for the power 0. Negative values with U+2212. Not finite: "nicht bestimmbar".
std::string SchoolNotation(double value, std::optional<double> uncertainty, std::string_view unit,
                           int significant = 5);

}  // namespace varek
