// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/portable_chars.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace varek {

namespace {

std::string Printed(const char* format, int precision, double value) {
  char buffer[400];  // %f of 1e308 has 309 digits
  const int length = std::snprintf(buffer, sizeof buffer, format, precision, value);
  return length < 0 ? std::string("?") : std::string(buffer, static_cast<std::size_t>(length));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> PowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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

// The shortest digits of a value that has at most 15 significant digits
// with its last one at most 22 places after the point (every current,
// voltage and ΔI of a table), found without printing: the fewest decimals d
// for which the whole number m nearest to |value|·10^d reads back, that is
// m / 10^d, divided as strtod divides exactly representable m and 10^d,
// gives the value. Two decimals of 15 digits lie further apart than two
// doubles, so these digits are the only ones of their length that read back.
std::optional<Digits> FewDigits(double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-7 && magnitude < 1e15)) return std::nullopt;
  constexpr double Most = 1e15;  // 15 digits
  for (std::size_t d = 0; d < PowersOfTen.size(); ++d) {
    const double scaled = magnitude * PowersOfTen[d];
    if (scaled >= Most) break;
    const double whole = std::nearbyint(scaled);
    if (whole == 0 || whole / PowersOfTen[d] != magnitude) continue;
    Digits few;
    few.digits = std::to_string(static_cast<std::uint64_t>(whole));
    few.exponent = static_cast<int>(few.digits.size()) - 1 - static_cast<int>(d);
    return few;
  }
  return std::nullopt;
}

std::string PortableShortest(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const bool negative = std::signbit(value);
  std::optional<Digits> few = FewDigits(value);
  const bool few_digits = few.has_value();
  if (!few) {
    // The fewest significant digits that read back. %e rounds correctly, so
    // its digits are the nearest; only at a power of two, where the values
    // below lie closer than those above, may the next ones up read back instead.
    few.emplace();
    for (int precision = 0; precision <= 16; ++precision) {
      *few = DigitsOf(Printed("%.*e", precision, value));
      if (ReadsBack(*few, value)) break;
      const Digits up = NextUp(*few);
      if (ReadsBack(up, value)) {
        *few = up;
        break;
      }
    }
  }
  const Digits& shortest = *few;
  std::string digits = shortest.digits;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = shortest.exponent;
  const int count = static_cast<int>(digits.size());
  const std::string sign = negative ? "-" : "";

  std::string plain;
  if (exponent >= count - 1) {
    // A whole number is written with all its digits, as %.0f writes it
    // (the digits found without printing are those of a whole number below 10^15).
    plain = few_digits ? shortest.digits : PortableFixed(std::fabs(value), 0);
  } else if (exponent >= 0) {
    plain = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + '.' +
            digits.substr(static_cast<std::size_t>(exponent) + 1);
  } else {
    plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  // At least two digits in the exponent: e+07, e-300.
  const std::string power = std::to_string(std::abs(exponent));
  const std::size_t exponential_length =
      digits.size() + (count > 1 ? 1 : 0) + 2 + std::max<std::size_t>(power.size(), 2);
  if (plain.size() <= exponential_length) return sign + plain;
  std::string exponential = digits.substr(0, 1);
  if (count > 1) exponential += '.' + digits.substr(1);
  exponential += std::string(exponent < 0 ? "e-" : "e+") + (power.size() < 2 ? "0" : "") + power;
  return sign + exponential;
}

namespace {

// |value|·10^decimals rounded to a whole number half to even, exactly, as
// printf rounds (the default rounding mode), where it stays below 2^63:
// value = M·2^E with M below 2^53, so M·10^decimals (below 2^117) shifted
// by E. None where printf is asked instead.
std::optional<std::uint64_t> ScaledWhole(double value, int decimals) {
  const double magnitude = std::fabs(value);
  if (decimals < 0 || decimals > 19 || !std::isfinite(value) ||
      !(magnitude * PowersOfTen[static_cast<std::size_t>(decimals)] < 9e18)) {
    return std::nullopt;
  }
  // Mostly the product in doubles decides: below 2^52 the middle between
  // two whole numbers is a double, and rounding to the nearest double keeps
  // the exact product's side of it, or lands on it. Only there (a tie, or
  // close to one) the exact product is asked below.
  const double product = magnitude * PowersOfTen[static_cast<std::size_t>(decimals)];
  if (product < 0x1p52) {
    const double below = std::floor(product);
    const double fraction = product - below;  // exact
    if (fraction != 0.5) return static_cast<std::uint64_t>(below) + (fraction > 0.5 ? 1 : 0);
  }
  __extension__ using Wide = unsigned __int128;
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);  // magnitude = fraction·2^exponent
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  exponent -= 53;
  Wide scaled = Wide{mantissa};
  for (int i = 0; i < decimals; ++i) scaled *= 10;
  std::uint64_t whole = 0;
  if (exponent >= 0) {
    whole = static_cast<std::uint64_t>(scaled << exponent);
  } else if (exponent > -128) {
    const int shift = -exponent;
    whole = static_cast<std::uint64_t>(scaled >> shift);
    const Wide rest = scaled - (Wide{whole} << shift);
    const Wide half = Wide{1} << (shift - 1);
    if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
  }  // else below 2^-11 (M·10^decimals is below 2^117): 0
  return whole;
}

// `whole` units of the last of `places` decimals (at most 19), written at
// `out` with `point`: (12345, 3) -> "12.345", (5, 3) -> "0.005"; the end.
char* WriteFixedDigits(char* out, std::uint64_t whole, std::size_t places, bool negative,
                       char point) {
  char digits[24];  // 2^64 has 20 digits
  const std::size_t count =
      static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, whole).ptr - digits);
  if (negative) *out++ = '-';
  if (count <= places) {
    *out++ = '0';
    *out++ = point;
    out = std::fill_n(out, places - count, '0');
    return std::copy_n(digits, count, out);
  }
  out = std::copy_n(digits, count - places, out);
  if (places > 0) *out++ = point;
  return std::copy_n(digits + (count - places), places, out);
}

// The value of `whole` units of the last of `decimals` decimals where it is
// a whole number below 2^53 over an exact power of ten: one rounding, as
// strtod's; none otherwise.
std::optional<double> ExactFixedValue(std::optional<std::uint64_t> whole, int decimals,
                                      bool negative) {
  if (!whole || *whole >= (std::uint64_t{1} << 53) || decimals > 22) return std::nullopt;
  const double magnitude =
      static_cast<double>(*whole) / PowersOfTen[static_cast<std::size_t>(decimals)];
  return negative ? -magnitude : magnitude;
}

}  // namespace

std::string PortableFixed(double value, int decimals) {
  const std::optional<std::uint64_t> whole = ScaledWhole(value, decimals);
  if (!whole) return Printed("%.*f", decimals, value);
  char text[MostExactFixedChars];
  return {text, WriteFixedDigits(text, *whole, static_cast<std::size_t>(decimals),
                                 std::signbit(value), '.')};
}

double FixedValue(double value, int decimals) {
  const std::optional<double> exact =
      ExactFixedValue(ScaledWhole(value, decimals), decimals, std::signbit(value));
  return exact ? *exact : std::strtod(PortableFixed(value, decimals).c_str(), nullptr);
}

char* WriteExactFixed(char* out, double value, int decimals, char point) {
  const std::optional<std::uint64_t> whole = ScaledWhole(value, decimals);
  const std::optional<double> exact = ExactFixedValue(whole, decimals, std::signbit(value));
  if (!exact || *exact != value) return nullptr;
  return WriteFixedDigits(out, *whole, static_cast<std::size_t>(decimals), std::signbit(value),
                          point);
}

std::string PortableScientific(double value, int decimals) {
  return Printed("%.*e", decimals, value);
}

}  // namespace varek
