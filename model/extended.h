// Extended precision and the one rounding rule of the model.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Every value of the model is reproduced bit for bit in 80-bit x87 extended
// precision (64-bit significand). A platform whose long double is anything
// else cannot build this program.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit x87 extended type");

namespace varek {

using Extended = long double;

// Nearest integer, an exact half going to the even neighbour. lrintl honours
// the current rounding mode, which this program never changes from the
// default round-to-nearest-even.
inline std::int32_t RoundEven(Extended value) {
  return static_cast<std::int32_t>(std::lrintl(value));
}

}  // namespace varek
