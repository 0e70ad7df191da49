// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// SoftExtended: the x87 80-bit extended type (sign, 15-bit exponent, 64-bit
// significand with an explicit integer bit) in plain integer arithmetic, for
// platforms whose long double is something else (WebAssembly's is a 128-bit
// quad). Every operation rounds to nearest, ties to even, exactly as the x87
// unit does with its default control word, so results match long double on
// x86-64 bit for bit.
//
// Storage is unpacked for speed: value = (-1)^sign * significand * 2^(exponent - 63).
// Every finite non-zero value is kept normalised (bit 63 of the significand
// set), also the subnormals of the 80-bit format, whose values are exact on
// the subnormal grid; only results below the normal range are rounded on that
// coarser grid. Zero, infinity and NaN have a zero significand, so one test of
// bit 63 on both operands selects the common path of every operation.
#pragma once

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

// The sum and the product are the bulk of every integration step. In
// WebAssembly they are plain inline functions, which the compiler keeps out
// of line where it sees fit; the integration step takes them in whole
// (model/trajectories.cpp), so that its operands and results stay in locals
// instead of passing through memory, as a 16-byte value does in every call
// there. Elsewhere they are always inlined.
#if defined(__EMSCRIPTEN__)
#define VAREK_SOFT_OPERATION
#else
#define VAREK_SOFT_OPERATION [[gnu::always_inline]]
#endif

namespace varek {

// std::bit_cast, which the libc++ of Debian's emscripten lacks.
template <typename To, typename From>
constexpr To BitCast(const From& from) {
  return __builtin_bit_cast(To, from);
}

class SoftExtended {
 public:
  // The 80-bit memory layout of an x87 value: the significand and the
  // sign bit above the 15-bit biased exponent.
  struct Bits {
    std::uint64_t significand = 0;
    std::uint16_t sign_exponent = 0;
    friend constexpr bool operator==(const Bits&, const Bits&) = default;
  };

  constexpr SoftExtended() = default;  // +0

  template <std::integral T>
  constexpr SoftExtended(T value) {  // exact for every integer of up to 64 bits
    if (value == 0) return;
    std::uint64_t magnitude = static_cast<std::uint64_t>(value);
    if constexpr (std::is_signed_v<T>) {
      if (value < 0) {
        sign_ = 1;
        magnitude = 0 - magnitude;
      }
    }
    const int shift = std::countl_zero(magnitude);
    significand_ = magnitude << shift;
    exponent_ = 63 - shift;
  }

  constexpr SoftExtended(double value) {  // exact
    const std::uint64_t bits = BitCast<std::uint64_t>(value);
    sign_ = static_cast<std::uint32_t>(bits >> 63);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0x7ff) {
      exponent_ = fraction == 0 ? InfinityExponent : NanExponent;
    } else if (biased != 0) {
      significand_ = (fraction | std::uint64_t{1} << 52) << 11;
      exponent_ = biased - 1023;
    } else if (fraction != 0) {  // subnormal double
      const int shift = std::countl_zero(fraction);
      significand_ = fraction << shift;
      exponent_ = -1011 - shift;
    }
  }

  // Exact for every long double that has a 64-bit significand and the range
  // of the 80-bit type, such as a hexadecimal literal of at most 16 digits.
  // A constant that is not exact fails to compile; at run time the value is
  // rounded to nearest, ties to even.
  constexpr SoftExtended(long double value) {
    if (value != value) {
      exponent_ = NanExponent;
      return;
    }
    if (__builtin_copysignl(1.0L, value) < 0) {  // also -0
      sign_ = 1;
      value = -value;
    }
    if (value == 0) return;
    if (value > 0x1p64L && value * 0.5L == value) {
      exponent_ = InfinityExponent;
      return;
    }
    std::int32_t exponent = 0;
    while (value >= 0x1p64L) value *= 0x1p-64L, exponent += 64;
    while (value >= 2) value *= 0.5L, exponent += 1;
    while (value < 0x1p-64L) value *= 0x1p64L, exponent -= 64;
    while (value < 1) value *= 2, exponent -= 1;
    const long double scaled = value * 0x1p63L;  // in [2^63, 2^64)
    std::uint64_t significand = static_cast<std::uint64_t>(scaled);
    const long double rest = scaled - static_cast<long double>(significand);  // exact
    if (std::is_constant_evaluated() && rest != 0) ConstantNotExact();
    if (rest > 0.5L || (rest == 0.5L && (significand & 1) != 0)) {
      if (++significand == 0) significand = Top, exponent += 1;
    }
    *this = Round(sign_, exponent, significand, 0);
  }

  static constexpr SoftExtended FromBits(Bits bits) {
    SoftExtended v;
    v.sign_ = bits.sign_exponent >> 15;
    const int biased = bits.sign_exponent & 0x7fff;
    if (biased == 0x7fff) {
      v.exponent_ = (bits.significand << 1) == 0 ? InfinityExponent : NanExponent;
    } else if (bits.significand != 0) {  // also the denormals and pseudo-denormals
      const int shift = std::countl_zero(bits.significand);
      v.significand_ = bits.significand << shift;
      v.exponent_ = (biased == 0 ? MinExponent : biased - Bias) - shift;
    }
    return v;
  }

  constexpr Bits ToBits() const {
    const std::uint16_t sign = static_cast<std::uint16_t>(sign_ << 15);
    if (significand_ == 0) {
      if (exponent_ == InfinityExponent) return {Top, static_cast<std::uint16_t>(sign | 0x7fff)};
      if (exponent_ == NanExponent)
        return {Top | Top >> 1, static_cast<std::uint16_t>(sign | 0x7fff)};
      return {0, sign};
    }
    if (exponent_ < MinExponent)  // denormal: exponent field 0, integer bit clear
      return {significand_ >> (MinExponent - exponent_), sign};
    return {significand_, static_cast<std::uint16_t>(sign | (exponent_ + Bias))};
  }

  // Nearest double, ties to even: one rounding of the 80-bit value, as a
  // store of an x87 register to a double.
  [[gnu::always_inline]] explicit constexpr operator double() const {
    const std::uint64_t sign = static_cast<std::uint64_t>(sign_) << 63;
    if (significand_ == 0) {
      if (exponent_ == InfinityExponent) return BitCast<double>(sign | 0x7ff0000000000000);
      if (exponent_ == NanExponent) return BitCast<double>(sign | 0x7ff8000000000000);
      return BitCast<double>(sign);
    }
    if (exponent_ > 1023) return BitCast<double>(sign | 0x7ff0000000000000);
    // Bits of the significand that fall below the last bit of the double.
    const int drop = exponent_ >= -1022 ? 11 : -1011 - exponent_;
    if (drop >= 65) return BitCast<double>(sign);
    const std::uint64_t kept = drop == 64 ? 0 : significand_ >> drop;
    const std::uint64_t rest = drop == 64 ? significand_ : significand_ << (64 - drop);
    const std::uint64_t up = RoundsUp(kept, rest);
    // A carry out of the fraction moves into the exponent field, also from
    // the largest subnormal to the smallest normal and from the largest
    // double to infinity.
    const std::uint64_t field =
        exponent_ >= -1022 ? static_cast<std::uint64_t>(exponent_ + 1022) << 52 : 0;
    return BitCast<double>(sign | (field + kept + up));
  }

  // Truncation towards zero, as a conversion of long double to an integer.
  explicit constexpr operator std::int64_t() const {
    if (significand_ == 0 || exponent_ < 0) return 0;
    if (exponent_ > 62) return INT64_MIN;  // out of range, as the x87 unit gives it
    const std::int64_t magnitude = static_cast<std::int64_t>(significand_ >> (63 - exponent_));
    return sign_ ? -magnitude : magnitude;
  }
  explicit constexpr operator int() const {
    return static_cast<int>(static_cast<std::int64_t>(*this));
  }

  // Nearest integer, ties to even, as lrintl; 0x8000000000000000 when it
  // does not fit into 64 bits.
  constexpr std::int64_t RoundToInteger() const {
    if (significand_ == 0) return exponent_ == ZeroExponent ? 0 : INT64_MIN;
    if (exponent_ < -1) return 0;
    if (exponent_ > 62) return INT64_MIN;
    const int drop = 63 - exponent_;  // 1 .. 64
    const std::uint64_t kept = drop == 64 ? 0 : significand_ >> drop;
    const std::uint64_t rest = drop == 64 ? significand_ : significand_ << (64 - drop);
    const std::uint64_t up = RoundsUp(kept, rest);
    const std::uint64_t magnitude = kept + up;
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX)) return INT64_MIN;
    return sign_ ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  }

  constexpr bool IsNan() const { return significand_ == 0 && exponent_ == NanExponent; }

  [[gnu::always_inline]] constexpr SoftExtended operator-() const {
    SoftExtended v = *this;
    v.sign_ ^= 1;
    return v;
  }

  [[gnu::always_inline]] friend constexpr SoftExtended Abs(const SoftExtended& a) {
    SoftExtended v = a;
    v.sign_ = 0;
    return v;
  }

  VAREK_SOFT_OPERATION friend constexpr SoftExtended operator+(const SoftExtended& a,
                                                               const SoftExtended& b) {
    if (((a.significand_ & b.significand_) >> 63) == 0) [[unlikely]]
      return Unpack(AddSpecial(Pack(a), Pack(b)));
    Exact sum;
    if (!ExactSum(a, b, sum)) return Zero(0);  // equal magnitudes
    return Round(sum);
  }
  [[gnu::always_inline]] friend constexpr SoftExtended operator-(const SoftExtended& a,
                                                                 const SoftExtended& b) {
    return a + -b;
  }

  VAREK_SOFT_OPERATION friend constexpr SoftExtended operator*(const SoftExtended& a,
                                                               const SoftExtended& b) {
    const std::uint32_t sign = a.sign_ ^ b.sign_;
    if (((a.significand_ & b.significand_) >> 63) == 0) [[unlikely]] {
      if (a.IsFinite() && b.IsFinite()) return Zero(sign);  // zero times a finite value
      return Unpack(MultiplySpecial(Pack(a), Pack(b), sign));
    }
    return Round(ExactProduct(a, b));
  }

  // a * b + c, rounded after the product and after the sum, as the two
  // operations one after the other, with the product kept in registers and
  // without its special cases: the integration's steps are mostly such
  // pairs.
  VAREK_SOFT_OPERATION friend constexpr SoftExtended ProductPlus(const SoftExtended& a,
                                                                 const SoftExtended& b,
                                                                 const SoftExtended& c) {
    // The common case: normal numbers, a product inside the range that does
    // not round up to infinity. Every other case takes the two operations,
    // through one call.
    if (((a.significand_ & b.significand_ & c.significand_) >> 63) != 0) [[likely]] {
      const Exact exact_product = ExactProduct(a, b);
      const SoftExtended product = RoundInRange(exact_product);
      if (InRange(exact_product.exponent) && (product.significand_ >> 63) != 0) [[likely]] {
        Exact sum;
        if (!ExactSum(product, c, sum)) return Zero(0);  // equal magnitudes
        return Round(sum);
      }
    }
    return Unpack(ProductPlusApart(Pack(a), Pack(b), Pack(c)));
  }

  // 2 a: the exponent one more, exact as the product is, unless it leaves
  // the range (or a has a zero significand: zero, infinity, NaN).
  [[gnu::always_inline]] friend constexpr SoftExtended Twice(const SoftExtended& a) {
    if ((a.significand_ >> 63) == 0 || a.exponent_ >= MaxExponent) [[unlikely]]
      return Unpack(TwiceApart(Pack(a)));
    SoftExtended v = a;
    v.exponent_ += 1;
    return v;
  }

  [[gnu::always_inline]] friend constexpr SoftExtended operator/(const SoftExtended& a,
                                                                 const SoftExtended& b) {
    const std::uint32_t sign = a.sign_ ^ b.sign_;
    if (((a.significand_ & b.significand_) >> 63) == 0) [[unlikely]] {
      if (a.IsZero() && (b.significand_ >> 63) != 0) return Zero(sign);
      return Unpack(DivideSpecial(Pack(a), Pack(b), sign));
    }
    if (b.significand_ == Top)  // a power of two: exact unless the result leaves the normal range
      return Round(sign, a.exponent_ - b.exponent_, a.significand_, 0);
    // Quotient q in [2^63, 2^64) of (a << 63 or a << 64) / b, rounded by its remainder.
    std::int32_t exponent = a.exponent_ - b.exponent_;
    std::uint64_t high, low;
    if (a.significand_ >= b.significand_) {
      high = a.significand_ >> 1;
      low = a.significand_ << 63;
    } else {
      high = a.significand_;
      low = 0;
      exponent -= 1;
    }
    std::uint64_t remainder;
    const std::uint64_t quotient = DivideWide(high, low, b.significand_, remainder);
    // Twice the remainder against the divisor: above, beyond half a unit; equal, a tie.
    const std::uint64_t half = b.significand_ - remainder;
    const std::uint64_t low_word = remainder > half    ? Top | 1
                                   : remainder == half ? Top
                                   : remainder != 0    ? 1
                                                       : 0;
    return Round(sign, exponent, quotient, low_word);
  }

  friend SoftExtended Sqrt(const SoftExtended& a) {
    if (a.significand_ == 0 || a.sign_) [[unlikely]] {
      if (a.significand_ == 0 && (a.exponent_ != InfinityExponent || !a.sign_))
        return a;  // +-0, +inf, NaN
      return Nan();
    }
    // a = n * 2^k with k even and n = significand << 63 or << 64 in [2^126, 2^128).
    const std::int32_t k = a.exponent_ - 63;
    const bool odd = (k & 1) != 0;
    const std::uint64_t high = odd ? a.significand_ >> 1 : a.significand_;
    const std::uint64_t low = odd ? a.significand_ << 63 : 0;
    // The root from double precision (about 2^11 off), one step on the
    // residual n - root^2 (off by at most 2), then the exact floor.
    const double estimate = std::sqrt(static_cast<double>(high) * 0x1p64);
    std::uint64_t root =
        estimate >= 0x1p64 ? ~std::uint64_t{0} : static_cast<std::uint64_t>(estimate);
    std::uint64_t square_high, square_low;
    MultiplyWide(root, root, square_high, square_low);
    const std::int64_t residual_high = static_cast<std::int64_t>(
        high - square_high - static_cast<std::uint64_t>(low < square_low));
    const double residual =
        static_cast<double>(residual_high) * 0x1p64 + static_cast<double>(low - square_low);
    root += static_cast<std::uint64_t>(
        static_cast<std::int64_t>(residual / (2.0 * static_cast<double>(root))));
    for (;;) {
      MultiplyWide(root, root, square_high, square_low);
      if (square_high > high || (square_high == high && square_low > low)) {  // root^2 > n
        --root;
        continue;
      }
      if (root == ~std::uint64_t{0}) break;
      // (root + 1)^2 = root^2 + 2 root + 1
      const std::uint64_t step = 2 * root + 1, next_low = square_low + step;
      const std::uint64_t next_high =
          square_high + (root >> 63) + static_cast<std::uint64_t>(next_low < step);
      if (next_high < high || (next_high == high && next_low <= low)) {
        ++root;
        continue;
      }
      break;
    }
    // sqrt(n) > root + 1/2 exactly when n > root^2 + root; there are no ties.
    const std::uint64_t half_low = square_low + root;
    const std::uint64_t half_high = square_high + static_cast<std::uint64_t>(half_low < root);
    std::int32_t exponent = (k - (odd ? 63 : 64)) / 2 + 63;
    if (high > half_high || (high == half_high && low > half_low)) {
      if (++root == 0) root = Top, exponent += 1;
    }
    SoftExtended v;
    v.significand_ = root;
    v.exponent_ = exponent;
    return v;
  }

  [[gnu::always_inline]] friend constexpr bool operator==(const SoftExtended& a,
                                                          const SoftExtended& b) {
    if (a.IsNan() || b.IsNan()) return false;
    if (a.IsZero() && b.IsZero()) return true;
    return a.sign_ == b.sign_ && a.exponent_ == b.exponent_ && a.significand_ == b.significand_;
  }
  [[gnu::always_inline]] friend constexpr bool operator<(const SoftExtended& a,
                                                         const SoftExtended& b) {
    if (a.IsNan() || b.IsNan()) return false;
    if (a.sign_ != b.sign_) return a.sign_ > b.sign_ && !(a.IsZero() && b.IsZero());
    return a.sign_ ? MagnitudeLess(b, a) : MagnitudeLess(a, b);
  }
  friend constexpr bool operator>(const SoftExtended& a, const SoftExtended& b) { return b < a; }
  friend constexpr bool operator<=(const SoftExtended& a, const SoftExtended& b) {
    return a < b || a == b;
  }
  friend constexpr bool operator>=(const SoftExtended& a, const SoftExtended& b) {
    return b < a || a == b;
  }

  SoftExtended& operator+=(const SoftExtended& b) { return *this = *this + b; }
  SoftExtended& operator-=(const SoftExtended& b) { return *this = *this - b; }
  SoftExtended& operator*=(const SoftExtended& b) { return *this = *this * b; }
  SoftExtended& operator/=(const SoftExtended& b) { return *this = *this / b; }

 private:
  __extension__ using Wide = unsigned __int128;

  static constexpr std::uint64_t Top = std::uint64_t{1} << 63;
  static constexpr std::int32_t Bias = 16383;
  static constexpr std::int32_t MinExponent = 1 - Bias;  // of the normal numbers
  static constexpr std::int32_t MaxExponent = Bias;
  // Exponents of the values with a zero significand.
  static constexpr std::int32_t ZeroExponent = -0x40000000;
  static constexpr std::int32_t InfinityExponent = 0x40000000;
  static constexpr std::int32_t NanExponent = 0x40000001;

  std::uint64_t significand_ = 0;
  std::int32_t exponent_ = ZeroExponent;
  std::uint32_t sign_ = 0;

  static void ConstantNotExact() { std::abort(); }

  static constexpr SoftExtended Nan() {
    SoftExtended v;
    v.sign_ = 1;  // the x87 default NaN is negative
    v.exponent_ = NanExponent;
    return v;
  }
  static constexpr SoftExtended Infinity(std::uint32_t sign) {
    SoftExtended v;
    v.sign_ = sign;
    v.exponent_ = InfinityExponent;
    return v;
  }
  static constexpr SoftExtended Zero(std::uint32_t sign) {
    SoftExtended v;
    v.sign_ = sign;
    return v;
  }
  constexpr bool IsZero() const { return significand_ == 0 && exponent_ == ZeroExponent; }
  constexpr bool IsFinite() const { return exponent_ < InfinityExponent; }
  constexpr bool IsInfinity() const { return significand_ == 0 && exponent_ == InfinityExponent; }

  // Zero, infinity and NaN order below, above and beside every finite
  // magnitude by their exponents.
  static constexpr bool MagnitudeLess(const SoftExtended& a, const SoftExtended& b) {
    return a.exponent_ < b.exponent_ ||
           (a.exponent_ == b.exponent_ && a.significand_ < b.significand_);
  }

  [[gnu::always_inline]] static constexpr void MultiplyWide(std::uint64_t a, std::uint64_t b,
                                                            std::uint64_t& high,
                                                            std::uint64_t& low) {
#if defined(__x86_64__) && !defined(VAREK_SOFT_EXTENDED_PORTABLE)
    const Wide product = Wide{a} * b;
    high = static_cast<std::uint64_t>(product >> 64);
    low = static_cast<std::uint64_t>(product);
#else
    // Four 32 x 32 products: WebAssembly has no wide multiply. None of the
    // sums overflows: (2^32 - 1)^2 + 2 (2^32 - 1) = 2^64 - 1. The low half
    // is the wrapping 64-bit product.
    const std::uint64_t a1 = a >> 32, a0 = a & 0xffffffff, b1 = b >> 32, b0 = b & 0xffffffff;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t upper = p10 + (p00 >> 32);
    const std::uint64_t middle = (upper & 0xffffffff) + p01;
    high = p11 + (upper >> 32) + (middle >> 32);
    low = a * b;
#endif
  }

  // (high:low) / divisor for high < divisor and divisor >= 2^63, in two
  // 32-bit digits (long division with estimated digits).
  [[gnu::noinline]] static constexpr std::uint64_t DivideWide(std::uint64_t high, std::uint64_t low,
                                                              std::uint64_t divisor,
                                                              std::uint64_t& remainder) {
    constexpr std::uint64_t Base = std::uint64_t{1} << 32;
    const std::uint64_t d1 = divisor >> 32, d0 = divisor & 0xffffffff;
    const std::uint64_t n1 = low >> 32, n0 = low & 0xffffffff;
    std::uint64_t q1 = high / d1, rest = high - q1 * d1;
    while (q1 >= Base || q1 * d0 > ((rest << 32) | n1)) {
      --q1;
      rest += d1;
      if (rest >= Base) break;
    }
    const std::uint64_t middle = (high << 32) + n1 - q1 * divisor;
    std::uint64_t q0 = middle / d1;
    rest = middle - q0 * d1;
    while (q0 >= Base || q0 * d0 > ((rest << 32) | n0)) {
      --q0;
      rest += d1;
      if (rest >= Base) break;
    }
    remainder = (middle << 32) + n0 - q0 * divisor;
    return (q1 << 32) | q0;
  }

  // An exact result before rounding: (high:low) * 2^(exponent - 63), high
  // normalised, low the bits below.
  struct Exact {
    std::uint32_t sign;
    std::int32_t exponent;
    std::uint64_t high, low;
  };

  // The out-of-line functions below (the special cases, the cases apart)
  // take their operands and give their results as the 128 bits of the
  // value. Passed as the value itself, an operand or a result would have its
  // variable's address taken also on the common path, and the compiler would
  // keep it in memory there instead of in registers (WebAssembly's locals).
  [[gnu::always_inline]] static constexpr Wide Pack(const SoftExtended& v) {
    return BitCast<Wide>(v);
  }
  [[gnu::always_inline]] static constexpr SoftExtended Unpack(Wide bits) {
    return BitCast<SoftExtended>(bits);
  }

  [[gnu::always_inline]] static constexpr bool InRange(std::int32_t exponent) {
    return static_cast<std::uint32_t>(exponent - MinExponent) <=
           static_cast<std::uint32_t>(MaxExponent - MinExponent);
  }

  [[gnu::always_inline]] static constexpr SoftExtended Round(const Exact& w) {
    if (!InRange(w.exponent)) [[unlikely]]
      return Unpack(RoundOutOfRange(w.sign, w.exponent, w.high, w.low));
    return RoundInRange(w);
  }
  [[gnu::always_inline]] static constexpr SoftExtended Round(std::uint32_t sign,
                                                             std::int32_t exponent,
                                                             std::uint64_t high,
                                                             std::uint64_t low) {
    return Round(Exact{sign, exponent, high, low});
  }

  // 1 when kept + rest / 2^64 rounds up to the nearest integer, ties to
  // even: rest above one half, or one half with kept odd. Then
  // rest + 2^63 - 1 + (kept & 1) carries out of 64 bits.
  [[gnu::always_inline]] static constexpr std::uint64_t RoundsUp(std::uint64_t kept,
                                                                 std::uint64_t rest) {
    return static_cast<std::uint64_t>(rest + (Top - 1 + (kept & 1)) < rest);
  }

  // Round for an exponent inside the normal range.
  [[gnu::always_inline]] static constexpr SoftExtended RoundInRange(const Exact& w) {
    const std::uint64_t up = RoundsUp(w.high, w.low);
    SoftExtended v;
    v.sign_ = w.sign;
    v.significand_ = w.high + up;
    v.exponent_ = w.exponent;
    if (v.significand_ == 0) [[unlikely]] {  // carried out of the significand
      v.significand_ = Top;
      if (++v.exponent_ > MaxExponent) return Infinity(w.sign);
    }
    return v;
  }

  // The exact sum of two normal numbers; false when it is zero (equal
  // magnitudes of opposite signs).
  [[gnu::always_inline]] static constexpr bool ExactSum(const SoftExtended& a,
                                                        const SoftExtended& b, Exact& sum) {
    // The operand of the larger magnitude, and the other aligned below it as
    // (small_high:small_low); bits beyond are kept as a sticky bit 0. The
    // values, not references, are chosen: an operand that is itself a result
    // stays in registers.
    const bool swap = MagnitudeLess(a, b);
    const std::uint64_t big_significand = swap ? b.significand_ : a.significand_;
    const std::uint64_t small_significand = swap ? a.significand_ : b.significand_;
    const std::int32_t big_exponent = swap ? b.exponent_ : a.exponent_;
    const std::uint32_t distance =
        static_cast<std::uint32_t>(big_exponent - (swap ? a.exponent_ : b.exponent_));
    std::uint64_t small_high = 0, small_low;
    if (distance < 64) {
      small_high = small_significand >> distance;
      small_low = distance == 0 ? 0 : small_significand << (64 - distance);
    } else {
      small_low = distance == 64 ? small_significand
                  : distance < 128
                      ? (small_significand >> (distance - 64)) |
                            static_cast<std::uint64_t>((small_significand << (128 - distance)) != 0)
                      : 1;
    }
    std::int32_t exponent = big_exponent;
    std::uint64_t high, low;
    if (a.sign_ == b.sign_) {
      // big << 64 plus small: a carry out moves one place into the sticky bit.
      low = small_low;
      high = big_significand + small_high;
      if (high < big_significand) {
        low = (low >> 1) | (high << 63) | (low & 1);
        high = (high >> 1) | Top;
        exponent += 1;
      }
    } else {
      // big << 64 minus small: exact for a distance below 64; beyond, small
      // is at most 2^64 and its lost bits are the sticky bit. From a
      // distance of 2 on the difference is at least 2^126: one place to
      // normalise.
      low = 0 - small_low;
      high = big_significand - small_high - static_cast<std::uint64_t>(small_low != 0);
      if ((high >> 63) == 0) {
        if (high == 0) {               // distance 0 or 1
          if (low == 0) return false;  // equal magnitudes
          high = low;
          low = 0;
          exponent -= 64;
        }
        const int shift = std::countl_zero(high);
        if (shift != 0) {
          high = (high << shift) | (low >> (64 - shift));
          low <<= shift;
          exponent -= shift;
        }
      }
    }
    sum = {swap ? b.sign_ : a.sign_, exponent, high, low};
    return true;
  }

  // The exact product of two normal numbers.
  [[gnu::always_inline]] static constexpr Exact ExactProduct(const SoftExtended& a,
                                                             const SoftExtended& b) {
    std::uint64_t high, low;
    MultiplyWide(a.significand_, b.significand_, high, low);
    std::int32_t exponent = a.exponent_ + b.exponent_ + 1;
    if ((high >> 63) == 0) {  // product in [2^126, 2^127)
      high = (high << 1) | (low >> 63);
      low <<= 1;
      exponent -= 1;
    }
    return {a.sign_ ^ b.sign_, exponent, high, low};
  }

  [[gnu::noinline]] static constexpr Wide ProductPlusApart(Wide a, Wide b, Wide c) {
    return Pack(Unpack(a) * Unpack(b) + Unpack(c));
  }

  [[gnu::noinline]] static constexpr Wide TwiceApart(Wide a) {
    return Pack(Unpack(a) * SoftExtended(2));
  }

  // Above the range: infinity. Below it: rounded on the grid of the
  // denormals, 2^-16445, and stored normalised.
  [[gnu::noinline]] static constexpr Wide RoundOutOfRange(std::uint32_t sign, std::int32_t exponent,
                                                          std::uint64_t high, std::uint64_t low) {
    if (exponent > MaxExponent) return Pack(Infinity(sign));
    const std::int32_t drop = MinExponent - exponent;  // bits of high that fall below the grid
    std::uint64_t kept, rest;
    bool sticky;
    if (drop < 64) {
      kept = high >> drop;
      rest = drop == 0 ? low : (high << (64 - drop)) | (low >> drop);
      sticky = drop != 0 && (low << (64 - drop)) != 0;
    } else if (drop == 64) {
      kept = 0;
      rest = high;
      sticky = low != 0;
    } else {
      kept = 0;
      rest = 0;
      sticky = high != 0 || low != 0;
    }
    const bool up = (rest >> 63) != 0 && ((rest << 1) != 0 || sticky || (kept & 1) != 0);
    kept += up;
    if (kept == 0) return Pack(Zero(sign));
    // kept counts units of 2^(MinExponent - 63); a carry to 2^63 is the smallest normal.
    const int shift = std::countl_zero(kept);
    SoftExtended v;
    v.sign_ = sign;
    v.significand_ = kept << shift;
    v.exponent_ = MinExponent - shift;
    return Pack(v);
  }

  // A sum with a zero, an infinity or a NaN.
  [[gnu::noinline]] static constexpr Wide AddSpecial(Wide a_bits, Wide b_bits) {
    const SoftExtended a = Unpack(a_bits), b = Unpack(b_bits);
    return Pack([&] {
      if (a.IsNan() || b.IsNan()) return Nan();
      if (a.sign_ == b.sign_) {
        if (a.IsFinite() && b.IsFinite())
          return a.IsZero() ? b : a;  // a zero of the same sign: the other
        return Infinity(a.sign_);
      }
      if (a.IsFinite() && b.IsFinite())
        return !a.IsZero() ? a : b.IsZero() ? Zero(0) : b;  // x - 0, 0 - x, 0 - 0
      if (a.IsInfinity()) return b.IsInfinity() ? Nan() : a;
      return b;
    }());
  }

  [[gnu::noinline]] static constexpr Wide MultiplySpecial(Wide a_bits, Wide b_bits,
                                                          std::uint32_t sign) {
    const SoftExtended a = Unpack(a_bits), b = Unpack(b_bits);
    return Pack([&] {
      if (a.IsNan() || b.IsNan()) return Nan();
      if (a.IsInfinity() || b.IsInfinity())
        return a.IsZero() || b.IsZero() ? Nan() : Infinity(sign);
      return Zero(sign);
    }());
  }

  [[gnu::noinline]] static constexpr Wide DivideSpecial(Wide a_bits, Wide b_bits,
                                                        std::uint32_t sign) {
    const SoftExtended a = Unpack(a_bits), b = Unpack(b_bits);
    return Pack([&] {
      if (a.IsNan() || b.IsNan()) return Nan();
      if (a.IsInfinity()) return b.IsInfinity() ? Nan() : Infinity(sign);
      if (b.IsInfinity()) return Zero(sign);
      if (b.IsZero()) return a.IsZero() ? Nan() : Infinity(sign);
      return Zero(sign);  // a is zero
    }());
  }
};

}  // namespace varek
