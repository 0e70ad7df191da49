// Extended precision and the one rounding rule of the model.
//
// Every value of the model is reproduced bit for bit in 80-bit x87 extended
// precision (64-bit significand, round to nearest even). All of the model's
// extended work goes through `Extended` and the functions below, so that a
// platform without the x87 type can supply an exact software type instead.
// Extended constants are written as hexadecimal literals that fit 64 bits,
// exact in any wider type as well.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit x87 extended type");

namespace varek {

using Extended = long double;

inline Extended Sqrt(Extended value) { return std::sqrt(value); }
inline Extended Sin(Extended angle) { return std::sin(angle); }
inline Extended Cos(Extended angle) { return std::cos(angle); }

// Nearest integer, an exact half going to the even neighbour. lrintl honours
// the current rounding mode, which this program never changes from the
// default round-to-nearest-even.
inline std::int32_t RoundEven(Extended value) {
  return static_cast<std::int32_t>(std::lrintl(value));
}

}  // namespace varek
