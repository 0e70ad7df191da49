// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/typed_value.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "measurement/decimal_reading.h"

namespace varek {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string WithUnit(std::string text, std::string_view unit) {
  if (!unit.empty()) text += " " + std::string(unit);
  return text;
}

}  // namespace

std::string ShownValue(int position, const ValueField& field) {
  const int value = field.sign * position;
  if (field.per_unit == 1) return std::to_string(value);
  const int whole = std::abs(value) / field.per_unit;
  std::string fraction = std::to_string(std::abs(value) % field.per_unit);
  int digits = 0;
  for (int p = field.per_unit; p > 1; p /= 10) ++digits;
  fraction.insert(0, static_cast<std::size_t>(digits) - fraction.size(), '0');
  fraction.erase(fraction.find_last_not_of('0') + 1);
  return (value < 0 ? "-" : "") + std::to_string(whole) + (fraction.empty() ? "" : "," + fraction);
}

TypedValue ReadTypedValue(std::string_view text, const ValueField& field) {
  const int lowest = std::min(field.sign * field.minimum, field.sign * field.maximum);
  const int highest = std::max(field.sign * field.minimum, field.sign * field.maximum);
  const std::string range = "von " + ShownValue(lowest, {.per_unit = field.per_unit}) + " bis " +
                            WithUnit(ShownValue(highest, {.per_unit = field.per_unit}), field.unit);
  std::string number(Trimmed(text));
  if (!field.unit.empty() && number.ends_with(field.unit))
    number = Trimmed(std::string_view(number).substr(0, number.size() - field.unit.size()));
  if (number.find(',') == std::string::npos) std::replace(number.begin(), number.end(), '.', ',');

  const DecimalReading reading = ReadDecimal(number);
  if (reading.kind == NumberKind::NotANumber)
    return {std::nullopt, "Das ist keine Zahl: bitte einen Wert " + range + " eingeben."};
  const double shown = reading.kind == NumberKind::Number ? reading.value : reading.value * 1e31;
  const double scaled = shown * field.per_unit;
  if (!(scaled >= lowest && scaled <= highest) || reading.kind == NumberKind::TooLarge) {
    return {std::nullopt,
            WithUnit(number, field.unit) + " liegt außerhalb des Bereichs " + range + "."};
  }
  const double whole = std::nearbyint(scaled);
  if (reading.kind != NumberKind::Number || std::abs(scaled - whole) > 1e-6) {
    return {std::nullopt, "Einstellbar sind nur Schritte von " +
                              WithUnit(ShownValue(1, {.per_unit = field.per_unit}), field.unit) +
                              "."};
  }
  return {field.sign * static_cast<int>(whole), {}};
}

}  // namespace varek
