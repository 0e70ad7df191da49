// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "measurement/portable_chars.h"

namespace varek {

namespace {

std::string WithComma(std::string text) {
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

#if defined(__cpp_lib_to_chars)
template <typename... Format>
std::string Chars(double value, Format... format) {
  char buffer[64];
  const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value, format...);
  return status == std::errc() ? std::string(buffer, end) : std::string("?");
}
std::string ShortestChars(double value) { return Chars(value); }
std::string FixedChars(double value, int decimals) {
  return Chars(value, std::chars_format::fixed, decimals);
}
std::string ScientificChars(double value, int decimals) {
  return Chars(value, std::chars_format::scientific, decimals);
}
#else
// This standard library has no floating-point to_chars and from_chars.
std::string ShortestChars(double value) { return PortableShortest(value); }
std::string FixedChars(double value, int decimals) { return PortableFixed(value, decimals); }
std::string ScientificChars(double value, int decimals) {
  return PortableScientific(value, decimals);
}
#endif

}  // namespace

std::string DecimalText(double value) { return WithComma(ShortestChars(value)); }

char* WriteDecimalText(char* out, double value) {
  // Up to five digits the plain form is never longer than the one with an exponent.
  if (value >= 1 && value < 1e5 && value == std::floor(value)) {
    return std::to_chars(out, out + MostDecimalChars, static_cast<int>(value)).ptr;
  }
  const std::string text = DecimalText(value);
  return std::copy(text.begin(), text.end(), out);
}

std::string FixedText(double value, int decimals) { return WithComma(FixedChars(value, decimals)); }

std::string SizeInWords(std::size_t bytes) {
  if (bytes >= 1000000 && bytes % 1000000 == 0) return std::to_string(bytes / 1000000) + " MB";
  if (bytes >= 1000 && bytes % 1000 == 0) return std::to_string(bytes / 1000) + " kB";
  return std::to_string(bytes) + " Bytes";
}

std::string ForPerson(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '-') {
      out += "\u2212";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Superscript(int exponent) {
  static const char* const Digits[] = {"\u2070", "\u00b9", "\u00b2", "\u00b3", "\u2074",
                                       "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
  std::string out = exponent < 0 ? "\u207b" : "";
  for (char c : std::to_string(exponent < 0 ? -static_cast<long>(exponent) : exponent)) {
    out += Digits[c - '0'];
  }
  return out;
}

std::string PowerOfTenText(double value) {
  return "10" + Superscript(static_cast<int>(std::lround(std::log10(value))));
}

std::string SchoolNotation(double value, std::optional<double> uncertainty, std::string_view unit,
                           int significant) {
  if (!std::isfinite(value) || (uncertainty && !std::isfinite(*uncertainty))) {
    return "nicht bestimmbar";
  }
  // The power of ten is the one of the value as rounded: 9.99996e10 is 1,0000 · 10¹¹.
  const std::string scientific = ScientificChars(value, significant - 1);
  const std::size_t e = scientific.find('e');
  const int exponent = std::atoi(scientific.c_str() + e + 1);
  std::string text = WithComma(scientific.substr(0, e));
  if (uncertainty) {
    text = "(" + text + " \u00b1 " +
           FixedText(*uncertainty / std::pow(10.0, exponent), significant - 1) + ")";
  }
  if (exponent != 0) text += " \u00b7 10" + Superscript(exponent);
  if (!unit.empty()) text += " " + std::string(unit);
  return ForPerson(text);
}

}  // namespace varek
