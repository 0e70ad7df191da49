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
// A whole text as from_chars reads it; beyond the range of double: infinity.
std::optional<double> ReadChars(std::string_view text) {
  double value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  const auto [stop, status] = std::from_chars(begin, end, value);
  if (stop != end) return std::nullopt;
  if (status == std::errc::result_out_of_range) return std::copysign(HUGE_VAL, *begin == '-' ? -1.0 : 1.0);
  if (status != std::errc()) return std::nullopt;
  return value;
}
#else
// This standard library has no floating-point to_chars and from_chars.
std::string ShortestChars(double value) { return PortableShortest(value); }
std::string FixedChars(double value, int decimals) { return PortableFixed(value, decimals); }
std::string ScientificChars(double value, int decimals) {
  return PortableScientific(value, decimals);
}
std::optional<double> ReadChars(std::string_view text) { return PortableRead(text); }
#endif

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string DecimalText(double value) { return WithComma(ShortestChars(value)); }

std::string FixedText(double value, int decimals) {
  return WithComma(FixedChars(value, decimals));
}

std::string ValueWithUncertainty(double value, std::optional<double> uncertainty,
                                 std::string_view unit, int significant) {
  // The power of ten is the one of the value as rounded: 9.99996e10 is 1,0000e11.
  const std::string scientific = ScientificChars(value, significant - 1);
  const std::size_t e = scientific.find('e');
  if (e == std::string::npos) return WithComma(scientific);  // inf or nan
  const int exponent = std::atoi(scientific.c_str() + e + 1);
  const std::string power = "e" + std::to_string(exponent) + " " + std::string(unit);
  std::string text = WithComma(scientific.substr(0, e)) + power;
  if (uncertainty) {
    text += " \u00b1 " + FixedText(*uncertainty / std::pow(10.0, exponent), significant - 1) + power;
  }
  return text;
}

std::optional<double> ParseDecimal(std::string_view text) {
  text = Trimmed(text);
  if (text.empty() || text.find('.') != std::string_view::npos) return std::nullopt;
  std::string plain(text);
  std::replace(plain.begin(), plain.end(), ',', '.');
  std::string_view number(plain);
  if (number.starts_with('+')) number.remove_prefix(1);  // from_chars takes no plus sign
  if (number.empty()) return std::nullopt;
  return ReadChars(number);
}

}  // namespace varek
