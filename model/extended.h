// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Extended precision and the one rounding rule of the model.
//
// Every value of the model is reproduced bit for bit in 80-bit x87 extended
// precision (64-bit significand, round to nearest even). The model does all
// of that arithmetic through Extended and the functions below, nothing else:
// + - * / unary -, comparisons, construction from integers and doubles (and
// from hexadecimal long double literals of at most 16 digits, which are exact
// in any wider type), static_cast<double>, Abs, Sqrt, ProductPlus, Twice, Sin,
// Cos and RoundEven. Where a value is rounded to an integer at once, a double
// estimate may decide the rounding instead (model/rounding_estimate.h), but
// only where it gives the integer the extended computation gives.
//
// On x86-64 Extended is long double itself. In WebAssembly long double is a
// 128-bit quad, so there (and in the native build that checks it,
// VAREK_SOFT_EXTENDED) Extended is SoftExtended, the same arithmetic in
// integers, and Sin and Cos come from a table of the few angles the model
// ever turns by, made by the native build (tools/tables).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__EMSCRIPTEN__) || defined(VAREK_SOFT_EXTENDED)
#define VAREK_EXTENDED_IS_SOFT 1
#include "model/soft_extended.h"
#endif

namespace varek {

#if VAREK_EXTENDED_IS_SOFT

using Extended = SoftExtended;

SoftExtended Sqrt(const SoftExtended& a);           // correctly rounded; defined in the class
constexpr SoftExtended Abs(const SoftExtended& a);  // defined in the class
// a * b + c, rounded after the product and after the sum; defined in the class
constexpr SoftExtended ProductPlus(const SoftExtended& a, const SoftExtended& b,
                                   const SoftExtended& c);
constexpr SoftExtended Twice(const SoftExtended& a);  // a * 2; defined in the class

// Sine and cosine of an angle of the table; any other angle ends the program
// with a message naming it.
Extended Sin(const Extended& angle);
Extended Cos(const Extended& angle);

// Nearest integer, an exact half going to the even neighbour, as lrintl.
inline std::int32_t RoundEven(const Extended& value) {
  return static_cast<std::int32_t>(value.RoundToInteger());
}

#else

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit x87 extended type");

using Extended = long double;

#if defined(VAREK_RECORD_ANGLES)
// The angle-table generator links the model with this hook to learn every
// angle that Sin and Cos are called with.
void RecordAngle(long double angle);
inline Extended Sin(Extended angle) { return RecordAngle(angle), std::sin(angle); }
inline Extended Cos(Extended angle) { return RecordAngle(angle), std::cos(angle); }
#else
inline Extended Sin(Extended angle) { return std::sin(angle); }
inline Extended Cos(Extended angle) { return std::cos(angle); }
#endif

inline Extended Sqrt(Extended value) { return std::sqrt(value); }
inline Extended Abs(Extended value) { return std::fabs(value); }
// a * b + c, rounded after the product and after the sum (the build never
// fuses the two).
inline Extended ProductPlus(Extended a, Extended b, Extended c) { return a * b + c; }
inline Extended Twice(Extended value) { return value * 2; }

// Nearest integer, an exact half going to the even neighbour. lrintl honours
// the current rounding mode, which this program never changes from the
// default round-to-nearest-even.
inline std::int32_t RoundEven(Extended value) {
  return static_cast<std::int32_t>(std::lrintl(value));
}

#endif

}  // namespace varek
