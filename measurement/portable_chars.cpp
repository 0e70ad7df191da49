// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/portable_chars.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace varek {

namespace {

std::string Printed(const char* format, int precision, double value) {
  char buffer[400];  // %f of 1e308 has 309 digits
  const int length = std::snprintf(buffer, sizeof buffer, format, precision, value);
  return length < 0 ? std::string("?") : std::string(buffer, static_cast<std::size_t>(length));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Significant digits and the power of ten of the first: 1.23 -> {"123", 0}.
struct Digits {
  std::string digits;
  int exponent = 0;
};

Digits DigitsOf(const std::string& scientific) {
  Digits d;
  const std::size_t e = scientific.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (IsDigit(scientific[i])) d.digits += scientific[i];
  }
  d.exponent = std::atoi(scientific.c_str() + e + 1);
  return d;
}

bool ReadsBack(const Digits& d, double value) {
  const std::string text = (value < 0 ? "-" : "") + d.digits + "e" +
                           std::to_string(d.exponent - static_cast<int>(d.digits.size()) + 1);
  return std::strtod(text.c_str(), nullptr) == value;
}

// The same number of digits, one unit more in the last place.
Digits NextUp(Digits d) {
  std::size_t i = d.digits.size();
  while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
  if (i == 0) {
    d.digits = "1" + d.digits.substr(1);
    ++d.exponent;
  } else {
    ++d.digits[i - 1];
  }
  return d;
}

std::string PortableShortest(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // The fewest significant digits that read back. %e rounds correctly, so
  // its digits are the nearest; only at a power of two, where the values
  // below lie closer than those above, may the next ones up read back instead.
  const bool negative = std::signbit(value);
  Digits shortest;
  for (int precision = 0; precision <= 16; ++precision) {
    shortest = DigitsOf(Printed("%.*e", precision, value));
    if (ReadsBack(shortest, value)) break;
    const Digits up = NextUp(shortest);
    if (ReadsBack(up, value)) {
      shortest = up;
      break;
    }
  }
  std::string digits = shortest.digits;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = shortest.exponent;
  const int count = static_cast<int>(digits.size());

  std::string plain;
  if (exponent >= count - 1) {
    // A whole number is written with all its digits, as %.0f writes it.
    plain = Printed("%.*f", 0, std::fabs(value));
  } else if (exponent >= 0) {
    plain = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + '.' +
            digits.substr(static_cast<std::size_t>(exponent) + 1);
  } else {
    plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  // At least two digits in the exponent: e+07, e-300.
  const std::string power = (exponent < 0 ? "-" : "+") +
                            std::string(std::abs(exponent) < 10 ? "0" : "") +
                            std::to_string(std::abs(exponent));
  std::string exponential = digits.substr(0, 1);
  if (count > 1) exponential += '.' + digits.substr(1);
  exponential += 'e' + power;
  const std::string sign = negative ? "-" : "";
  return sign + (plain.size() <= exponential.size() ? plain : exponential);
}

std::string PortableFixed(double value, int decimals) { return Printed("%.*f", decimals, value); }

std::string PortableScientific(double value, int decimals) {
  return Printed("%.*e", decimals, value);
}

}  // namespace varek
