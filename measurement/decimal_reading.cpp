// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/decimal_reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace varek {

namespace {

// An unsigned integer of any size, base 2^32, least significant limb first;
// just the operations that the conversion needs.
class Wide {
 public:
  explicit Wide(std::uint32_t value) {
    if (value != 0) limbs_.push_back(value);
  }

  // this = this * factor + addend
  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  Wide Shifted(int bits) const {
    Wide out(0);
    if (limbs_.empty()) return out;
    const int whole = bits / 32, part = bits % 32;
    out.limbs_.assign(static_cast<std::size_t>(whole), 0);
    std::uint32_t carry = 0;
    for (std::uint32_t limb : limbs_) {
      out.limbs_.push_back(part == 0 ? limb : (limb << part) | carry);
      carry = part == 0 ? 0 : limb >> (32 - part);
    }
    if (carry != 0) out.limbs_.push_back(carry);
    return out;
  }

  int BitLength() const {
    if (limbs_.empty()) return 0;
    int bits = static_cast<int>(limbs_.size() - 1) * 32;
    for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1) ++bits;
    return bits;
  }

  friend int Compare(const Wide& a, const Wide& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
  }

  // this -= other, for other <= this.
  void Subtract(const Wide& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t difference = static_cast<std::int64_t>(limbs_[i]) - borrow -
                                (i < other.limbs_.size() ? other.limbs_[i] : 0);
      borrow = difference < 0 ? 1 : 0;
      limbs_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
    }
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

 private:
  std::vector<std::uint32_t> limbs_;
};

Wide PowerOfTen(int exponent) {
  Wide power(1);
  for (int i = 0; i < exponent; ++i) power.MultiplyAdd(10, 0);
  return power;
}

// The double nearest to digits * 10^exponent (ties to even), for significant
// digits without leading zeros and a magnitude within 1e-30..1e31, where
// every double is normal.
double Nearest(std::string_view digits, int exponent) {
  Wide numerator(0);
  for (char digit : digits) numerator.MultiplyAdd(10, static_cast<std::uint32_t>(digit - '0'));
  Wide denominator(1);
  if (exponent >= 0) {
    for (int i = 0; i < exponent; ++i) numerator.MultiplyAdd(10, 0);
  } else {
    denominator = PowerOfTen(-exponent);
  }
  // value = numerator / denominator lies in [2^(b-1), 2^(b+1)); the quotient
  // scaled by 2^shift then has 53 or 54 bits.
  const int b = numerator.BitLength() - denominator.BitLength();
  const int shift = 53 - b;
  const Wide scaled_numerator = numerator.Shifted(std::max(shift, 0));
  const Wide scaled_denominator = denominator.Shifted(std::max(-shift, 0));
  // Long division, one bit at a time: the quotient is below 2^55.
  Wide remainder = scaled_numerator;
  std::uint64_t quotient = 0;
  for (int bit = 54; bit >= 0; --bit) {
    const Wide step = scaled_denominator.Shifted(bit);
    if (Compare(remainder, step) >= 0) {
      remainder.Subtract(step);
      quotient |= std::uint64_t{1} << bit;
    }
  }
  // Keep 53 bits; what is dropped, with the remainder, decides the rounding.
  int dropped = 0;
  while (quotient >> (53 + dropped) != 0) ++dropped;
  const std::uint64_t kept = quotient >> dropped;
  const std::uint64_t low = quotient & ((std::uint64_t{1} << dropped) - 1);
  const std::uint64_t half = dropped == 0 ? 0 : std::uint64_t{1} << (dropped - 1);
  const bool exact_rest = Compare(remainder, Wide(0)) == 0;
  bool up = false;
  if (dropped == 0) {
    // The whole quotient is kept: compare the remainder with half the divisor.
    const int against_half = Compare(remainder.Shifted(1), scaled_denominator);
    up = against_half > 0 || (against_half == 0 && (kept & 1) != 0);
  } else {
    up = low > half || (low == half && (!exact_rest || (kept & 1) != 0));
  }
  const double significand = static_cast<double>(kept + (up ? 1 : 0));  // 2^53 is exact too
  return std::ldexp(significand, dropped - shift);
}

// Most numbers of a table have few digits: at most 15 of them are an exact
// double, and so is 10^k up to k = 22; one multiplication or division of
// two exact doubles rounds once, to the nearest, as Nearest does.
// `whole`: the digits' value, taken while they were read.
std::optional<double> Exactly(std::string_view digits, std::uint64_t whole, int exponent) {
  constexpr double ExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr int Largest = static_cast<int>(std::size(ExactPowers)) - 1;
  if (digits.size() > 15 || exponent > Largest || exponent < -Largest) return std::nullopt;
  const auto value = static_cast<double>(whole);  // below 10^15: exact
  const double power = ExactPowers[exponent < 0 ? -exponent : exponent];
  return exponent < 0 ? value / power : value * power;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

DecimalReading ReadDecimal(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const DecimalReading not_a_number;
  if (text.empty() || text.size() > MaxNumberLength) return not_a_number;

  std::size_t i = 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  // Significant digits, and the power of ten of the last of them (in
  // place: a table's numbers are read by the ten thousand).
  std::array<char, MaxNumberLength> digit_chars;
  std::size_t digits_taken = 0;
  std::uint64_t whole = 0;  // of the first 15 of them: what Exactly takes
  int exponent = 0, digit_count = 0;
  auto take_digits = [&](bool after_comma) {
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digit_count) {
      if (digits_taken == 0 && text[i] == '0') {
        if (after_comma) --exponent;
        continue;
      }
      if (digits_taken < 15) whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
      digit_chars[digits_taken++] = text[i];
      if (after_comma) --exponent;
    }
  };
  take_digits(false);
  if (i < text.size() && text[i] == ',') {
    ++i;
    take_digits(true);
  }
  if (digit_count == 0) return not_a_number;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exponent_negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exponent_negative = text[i++] == '-';
    const std::size_t first = i;
    int written = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      written = std::min(written * 10 + (text[i] - '0'), 100000);  // far beyond any range
    }
    if (i == first) return not_a_number;
    exponent += exponent_negative ? -written : written;
  }
  if (i != text.size()) return not_a_number;

  const std::string_view digits(digit_chars.data(), digits_taken);
  const double sign = negative ? -1.0 : 1.0;
  if (digits.empty()) return {NumberKind::Number, negative ? -0.0 : 0.0};
  // The power of ten of the leading digit.
  const int magnitude = exponent + static_cast<int>(digits.size()) - 1;
  if (magnitude > LargestDecimalExponent) return {NumberKind::TooLarge, sign};
  if (magnitude < -LargestDecimalExponent) return {NumberKind::TooSmall, sign};
  const std::optional<double> exact = Exactly(digits, whole, exponent);
  return {NumberKind::Number, sign * (exact ? *exact : Nearest(digits, exponent))};
}

}  // namespace varek
