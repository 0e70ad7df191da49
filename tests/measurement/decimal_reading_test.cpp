// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one path that reads numbers (desktop and browser alike) and the
// escaped excerpt that quotes what it could not read.
#include "measurement/decimal_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <random>
#include <string>

#include "measurement/text_excerpt.h"

namespace varek {
namespace {

TEST(DecimalReadingTest, GrammarAndRanges) {
  const struct {
    const char* text;
    NumberKind kind;
    double value;
  } cases[] = {
      // clang-format off
      {"1,23", NumberKind::Number, 1.23},     {" 1200 ", NumberKind::Number, 1200},
      {"+2", NumberKind::Number, 2},          {"-5", NumberKind::Number, -5},
      {",5", NumberKind::Number, 0.5},        {"5,", NumberKind::Number, 5},
      {"2,5e3", NumberKind::Number, 2500},    {"1E-3", NumberKind::Number, 0.001},
      {"0,000", NumberKind::Number, 0},       {"0e999999999999", NumberKind::Number, 0},
      {"1e30", NumberKind::Number, 1e30},     {"1e-30", NumberKind::Number, 1e-30},
      {"1e61", NumberKind::TooLarge, 1},      {"-1e999", NumberKind::TooLarge, -1},
      {"1e-200", NumberKind::TooSmall, 1},    {"99999999999999999999999999999999", NumberKind::TooLarge, 1},
      {"+-5", NumberKind::NotANumber, 0},     {"--5", NumberKind::NotANumber, 0},
      {"\u22125", NumberKind::NotANumber, 0}, {"1.23", NumberKind::NotANumber, 0},
      {"nan", NumberKind::NotANumber, 0},     {"nan(0x1)", NumberKind::NotANumber, 0},
      {"inf", NumberKind::NotANumber, 0},     {"-Infinity", NumberKind::NotANumber, 0},
      {"0x1p3", NumberKind::NotANumber, 0},   {"1,2,3", NumberKind::NotANumber, 0},
      {"1e", NumberKind::NotANumber, 0},      {"e5", NumberKind::NotANumber, 0},
      {",", NumberKind::NotANumber, 0},       {"", NumberKind::NotANumber, 0},
      {"12a", NumberKind::NotANumber, 0},     {"1\t", NumberKind::NotANumber, 0},
      {"1 2", NumberKind::NotANumber, 0},     {"00000000000000000000000000000000000000001", NumberKind::NotANumber, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    const DecimalReading reading = ReadDecimal(c.text);
    EXPECT_EQ(reading.kind, c.kind) << c.text;
    EXPECT_EQ(reading.value, c.value) << c.text;
  }
}

// The same bits as the standard library's correctly rounded reading, also
// at the ties between two doubles.
TEST(DecimalReadingTest, RoundsToTheNearestDoubleAsFromChars) {
  std::vector<std::string> texts = {
      "9007199254740993",       "9007199254740995",      "0,1",     "0,613", "1e23", "8,589973e9",
      "2,2250738585072011e-30", "1,7976931348623157e30", "4,35e-15"};
  std::mt19937_64 random(20261209);
  for (int i = 0; i < 100000; ++i) {
    std::string digits;
    for (int d = 1 + static_cast<int>(random() % 24); d > 0; --d)
      digits += char('0' + random() % 10);
    const std::size_t comma = random() % (digits.size() + 1);
    std::string text = digits.substr(0, comma) + "," + digits.substr(comma);
    if (random() % 2) text += "e" + std::to_string(static_cast<int>(random() % 40) - 20);
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    std::string point = text;
    std::replace(point.begin(), point.end(), ',', '.');
    double expected = 0;
    ASSERT_EQ(std::from_chars(point.data(), point.data() + point.size(), expected).ec, std::errc());
    const DecimalReading reading = ReadDecimal(text);
    if (reading.kind != NumberKind::Number) continue;  // beyond 1e±30
    ASSERT_EQ(reading.value, expected) << text;
  }
}

TEST(TextExcerptTest, QuotesShortAndEscaped) {
  const struct {
    std::string text, quoted;
  } cases[] = {
      {"abc", "\u201Eabc\u201C"},
      {"Äpfel", "\u201EÄpfel\u201C"},
      {std::string("a\0b", 3), "\u201Ea\\0b\u201C"},
      {"\x1b[31mrot\r\n\t", "\u201E\\e[31mrot\\r\\n\\t\u201C"},
      {"a\\b\x7f", "\u201Ea\\\\b\\x7F\u201C"},
      {"\xff\xc3", "\u201E\\xFF\\xC3\u201C"},
      {"\xc0\xaf", "\u201E\\xC0\\xAF\u201C"},  // an overlong '/'
      {"x\u202Ey", "\u201Ex\\u{202E}y\u201C"},
      {std::string(100000, ';'), "\u201E" + std::string(24, ';') + "\u2026\u201C"},
      {std::string(30, '\0'), "\u201E" +
                                  [] {
                                    std::string s;
                                    for (int i = 0; i < 24; ++i) s += "\\0";
                                    return s;
                                  }() +
                                  "\u2026\u201C"},
  };
  for (const auto& c : cases) EXPECT_EQ(QuotedExcerpt(c.text), c.quoted);
}

}  // namespace
}  // namespace varek
