// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The browser build writes numbers with snprintf; on the desktop it must give
// what std::to_chars gives.
#include "measurement/portable_chars.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace varek {
namespace {

template <typename... Format>
std::string ToChars(double value, Format... format) {
  char buffer[400];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, format...).ptr);
}

TEST(PortableCharsTest, WritesAsToChars) {
  std::vector<double> values = {0.0, -0.0, 1.23, 1200, 0.615, 1e-7, 1e22, 123456789012345680.0,
                                1.7683e11, 2.0974519575012842e11, 5e-324, 1.7976931348623157e308,
                                0.1, 100, 1e21, 1e-5, 0.0001, -2.5, HUGE_VAL, -HUGE_VAL,
                                // Ties of the fixed forms, rounded to even; 15 and 16 digits.
                                0.125, 2.5, 3.5, -0.375, 0.0625, 999999999999999.0, 1e15,
                                123456789.12345, 9.5e-7, 4.5e18};
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 20000; ++i) {
    double value = std::bit_cast<double>(random());
    if (std::isnan(value)) continue;
    values.push_back(value);
    values.push_back(static_cast<double>(random() % 3001) / 1000);  // a current in A
    values.push_back(std::ldexp(1.0, static_cast<int>(random() % 2000) - 1000));
    // A value of a table's view (B in mT, e/m in 10¹¹ C/kg) and a decimal of 1 to 15 digits.
    values.push_back(std::uniform_real_distribution<double>(0, 2000)(random));
    values.push_back(static_cast<double>(random() % 1000000000000000) /
                     std::pow(10.0, static_cast<double>(random() % 23)));
  }
  // Within a few units of the last place of a tie of the fixed forms, where
  // the product with the power of ten may round to the other side.
  for (int i = 0; i < 3000; ++i) {
    const double tie = (static_cast<double>(random() % 3000000) + 0.5) /
                       std::pow(10.0, static_cast<double>(1 + random() % 4));
    double value = tie;
    for (int step = 0; step < 3; ++step) value = std::nextafter(value, 0.0);
    for (int step = 0; step < 7; ++step) values.push_back(value = std::nextafter(value, 1e300));
  }
  for (const double value : values) {
    ASSERT_EQ(PortableShortest(value), ToChars(value)) << value;
    for (const int decimals : {0, 2, 3, 4, 19}) {
      const std::string fixed = ToChars(value, std::chars_format::fixed, decimals);
      ASSERT_EQ(PortableFixed(value, decimals), fixed);
      const double read = std::strtod(fixed.c_str(), nullptr);
      ASSERT_TRUE(FixedValue(value, decimals) == read || (std::isnan(value) && std::isnan(read)))
          << fixed;
      // Written in place where the text reads back, below 2^53 units of its last decimal.
      char written[MostExactFixedChars];
      if (const char* end = WriteExactFixed(written, value, decimals, '.')) {
        ASSERT_EQ(std::string(static_cast<const char*>(written), end), fixed);
        ASSERT_EQ(read, value) << fixed;
      } else {
        ASSERT_TRUE(read != value || !(std::fabs(value) * std::pow(10.0, decimals) < 0x1p52))
            << fixed;
      }
      ASSERT_EQ(PortableScientific(value, decimals),
                ToChars(value, std::chars_format::scientific, decimals));
    }
  }
}

}  // namespace
}  // namespace varek
