// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// SoftExtended against the x87 long double of this machine, bit for bit, on
// millions of random operands of many kinds.
#include "model/soft_extended.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>
#include <string>

namespace varek {
namespace {

using Bits = SoftExtended::Bits;

Bits BitsOf(long double v) {
  Bits b;
  std::memcpy(&b.significand, &v, 8);
  std::memcpy(&b.sign_exponent, reinterpret_cast<const char*>(&v) + 8, 2);
  return b;
}

long double FromBits(Bits b) {
  long double v = 0;
  std::memcpy(&v, &b.significand, 8);
  std::memcpy(reinterpret_cast<char*>(&v) + 8, &b.sign_exponent, 2);
  return v;
}

// Hexadecimal literals and their bit patterns are exact in constant evaluation.
static_assert(SoftExtended(0x1.999999999999999ap-2L).ToBits() == Bits{0xcccccccccccccccd, 0x3ffd});
static_assert(SoftExtended(-0x1p-16445L).ToBits() == Bits{1, 0x8000});  // smallest denormal
static_assert(SoftExtended(-0.0L).ToBits() == Bits{0, 0x8000});
static_assert((SoftExtended(1) / SoftExtended(3)).ToBits() == Bits{0xaaaaaaaaaaaaaaab, 0x3ffd});

// Operands of one row: sign, biased exponent in [low, high] (0 gives a
// denormal), and the significand drawn with only its top `bits` bits random,
// so that short significands make exact halves and ties frequent.
struct OperandKind {
  const char* name;
  int low, high;
  int bits;          // random significand bits below the integer bit, 1..63
  int near_partner;  // > 0: the second operand lies within this many exponent steps of the first
};

constexpr OperandKind Kinds[] = {
    {"model magnitudes", 16383 - 60, 16383 + 40, 63, 0},
    {"close exponents, cancellation", 16383 - 4, 16383 + 4, 63, 3},
    {"short significands, ties", 16383 - 20, 16383 + 20, 12, 2},
    {"one-bit significands", 16383 - 70, 16383 + 70, 1, 66},
    {"whole range, overflow", 1, 32766, 63, 0},
    {"near the denormals", 0, 140, 63, 70},
};

class Operands {
 public:
  explicit Operands(unsigned seed) : random_(seed) {}

  long double Draw(const OperandKind& kind, int exponent) {
    std::uint64_t significand = random_() << (63 - kind.bits);
    significand |= std::uint64_t{1} << 63;
    const int biased = std::clamp(exponent, kind.low, kind.high);
    if (biased == 0) significand >>= 1 + random_() % 63;
    const std::uint16_t sign = (random_() & 1) << 15;
    return FromBits({significand, static_cast<std::uint16_t>(sign | biased)});
  }
  int Exponent(const OperandKind& kind) {
    return kind.low + static_cast<int>(random_() % (kind.high - kind.low + 1));
  }
  int Offset(int spread) { return static_cast<int>(random_() % (2 * spread + 1)) - spread; }

 private:
  std::mt19937_64 random_;
};

std::string Hex(Bits b) {
  char text[40];
  std::snprintf(text, sizeof text, "%04x:%016llx", b.sign_exponent,
                static_cast<unsigned long long>(b.significand));
  return text;
}

bool Same(long double expected, SoftExtended actual) {
  if (std::isnan(expected)) return actual.IsNan();
  return BitsOf(expected) == actual.ToBits();
}

// Every operation on the pair a, b against x87: a failure for each
// mismatch, and their number. `checked` counts the operations.
int Mismatches(long double a, long double b, long& checked) {
  const SoftExtended sa = SoftExtended::FromBits(BitsOf(a)), sb = SoftExtended::FromBits(BitsOf(b));
  const struct {
    const char* op;
    long double expected;
    SoftExtended actual;
  } results[] = {
      {"+", a + b, sa + sb},
      {"-", a - b, sa - sb},
      {"*", a * b, sa * sb},
      // the product and a sum after it, also cancelling to zero exactly
      {"* then + a", a * b + a, ProductPlus(sa, sb, sa)},
      {"* then + b", a * b + b, ProductPlus(sa, sb, sb)},
      {"* then - itself", a * b + -(a * b), ProductPlus(sa, sb, -(sa * sb))},
      {"twice", a * 2, Twice(sa)},
      {"/", a / b, sa / sb},
      {"sqrt", std::sqrt(std::fabs(a)), Sqrt(std::signbit(a) ? -sa : sa)},
      {"double", static_cast<long double>(static_cast<double>(a)),
       SoftExtended(static_cast<double>(sa))},
      {"long double", a, SoftExtended(a)},
  };
  int failures = 0;
  for (const auto& r : results) {
    if (!Same(r.expected, r.actual)) {
      ADD_FAILURE() << Hex(BitsOf(a)) << " " << r.op << " " << Hex(BitsOf(b)) << ": expected "
                    << Hex(BitsOf(r.expected)) << ", got " << Hex(r.actual.ToBits());
      ++failures;
    }
  }
  const bool order[] = {a<b, a> b, a <= b, a >= b, a == b, b < a};
  const bool soft_order[] = {sa<sb, sa> sb, sa <= sb, sa >= sb, sa == sb, sb < sa};
  if (std::memcmp(order, soft_order, sizeof order) != 0) {
    ADD_FAILURE() << "comparison of " << Hex(BitsOf(a)) << " and " << Hex(BitsOf(b));
    ++failures;
  }
  checked += std::size(results) + 1;
  return failures;
}

TEST(SoftExtended, ArithmeticEqualsX87BitForBit) {
  constexpr int PairsPerKind = 250000;
  long checked = 0;
  for (const OperandKind& kind : Kinds) {
    SCOPED_TRACE(kind.name);
    Operands operands(12345);
    int failures = 0;
    for (int i = 0; i < PairsPerKind && failures < 5; ++i) {
      const int ea = operands.Exponent(kind);
      const long double a = operands.Draw(kind, ea);
      const long double b =
          operands.Draw(kind, kind.near_partner > 0 ? ea + operands.Offset(kind.near_partner)
                                                    : operands.Exponent(kind));
      failures += Mismatches(a, b, checked);
    }
  }
  std::printf("operations checked: %ld\n", checked);
}

// Zeros, infinities and NaN take the out-of-line cases, which get their
// operands as bits: every pair of such values and normal ones, both orders.
TEST(SoftExtended, SpecialOperandsEqualX87) {
  const long double values[] = {0.0L, -0.0L, HUGE_VALL,    -HUGE_VALL,
                                NAN,  1.5L,  -0x1p-16445L, 0x1.fffffffffffffffep16383L};
  long checked = 0;
  for (const long double a : values) {
    for (const long double b : values) Mismatches(a, b, checked);
  }
}

TEST(SoftExtended, IntegersAndRoundingEqualX87) {
  std::mt19937_64 random(777);
  int failures = 0;
  for (int i = 0; i < 1000000 && failures < 5; ++i) {
    // Integers of every width, and values near exact halves for the rounding.
    const std::int64_t n = static_cast<std::int64_t>(random()) >> (random() % 64);
    const long double half = static_cast<long double>(n) / 2;
    const long double near =
        half + static_cast<long double>(static_cast<std::int64_t>(random() % 5) - 2) * 0x1p-40L;
    const SoftExtended soft_n(n);
    const SoftExtended s_near = SoftExtended::FromBits(BitsOf(near));
    if (!Same(static_cast<long double>(n), soft_n) ||
        std::lrintl(near) != s_near.RoundToInteger() ||
        std::lrintl(half) != SoftExtended::FromBits(BitsOf(half)).RoundToInteger() ||
        static_cast<std::int64_t>(near) != static_cast<std::int64_t>(s_near)) {
      ADD_FAILURE() << "integer " << n << ", near half " << Hex(BitsOf(near));
      ++failures;
    }
  }
}

}  // namespace
}  // namespace varek
