// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/setting_table.h"

#include <charconv>
#include <cstdlib>

namespace varek {

namespace {

// The desktop keeps the keys of Windows' scroll bars; the page those of an
// ARIA slider, on the value its readout shows.
constexpr KeyRule kDesktopKeys[] = {
    {ScrollKey::ArrowLeft, -1, KeyMeasure::Line, KeyReference::Position},
    {ScrollKey::ArrowUp, -1, KeyMeasure::Line, KeyReference::Position},
    {ScrollKey::ArrowRight, 1, KeyMeasure::Line, KeyReference::Position},
    {ScrollKey::ArrowDown, 1, KeyMeasure::Line, KeyReference::Position},
    {ScrollKey::PageUp, -1, KeyMeasure::Page, KeyReference::Position},
    {ScrollKey::PageDown, 1, KeyMeasure::Page, KeyReference::Position},
    {ScrollKey::Home, -1, KeyMeasure::End, KeyReference::Position},
    {ScrollKey::End, 1, KeyMeasure::End, KeyReference::Position},
};
constexpr KeyRule kPageKeys[] = {
    {ScrollKey::ArrowUp, 1, KeyMeasure::Line, KeyReference::Value},
    {ScrollKey::ArrowDown, -1, KeyMeasure::Line, KeyReference::Value},
    {ScrollKey::PageUp, 1, KeyMeasure::Page, KeyReference::Value},
    {ScrollKey::PageDown, -1, KeyMeasure::Page, KeyReference::Value},
    {ScrollKey::ArrowRight, 1, KeyMeasure::Line, KeyReference::Thumb},
    {ScrollKey::ArrowLeft, -1, KeyMeasure::Line, KeyReference::Thumb},
    {ScrollKey::Home, -1, KeyMeasure::End, KeyReference::Value},
    {ScrollKey::End, 1, KeyMeasure::End, KeyReference::Value},
};

}  // namespace

std::string ReadoutText(const ReadoutFormat& format, int position) {
  const long long value = format.negated ? -static_cast<long long>(position) : position;
  long long scale = 1;
  for (int i = 0; i < format.decimals; ++i) scale *= 10;
  const long long magnitude = std::llabs(value);
  std::string text = (value < 0 ? "-" : "") + std::to_string(magnitude / scale);
  if (format.decimals == 0) return text;
  std::string fraction = std::to_string(magnitude % scale);
  fraction.insert(0, static_cast<std::size_t>(format.decimals) - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  return fraction.empty() ? text : text + "," + fraction;
}

std::string SettingRow::Expected() const {
  if (IsChoice()) return std::string(yes) + " oder " + std::string(no);
  return "eine ganze Zahl von " + std::to_string(range.lowest) + " bis " +
         std::to_string(range.highest);
}

std::string SettingRow::Word(int value) const {
  if (IsChoice()) return std::string(value != 0 ? yes : no);
  return std::to_string(value);
}

std::span<const SettingRow> SettingTable() { return kSettingRows; }

const SettingRow* SettingNamed(std::string_view name) {
  for (const SettingRow& row : kSettingRows)
    if (row.name == name) return &row;
  return nullptr;
}

const SettingRow* SettingOfControl(std::string_view control) {
  for (const SettingRow& row : kSettingRows)
    if (row.controls[0] == control || row.controls[1] == control) return &row;
  return nullptr;
}

std::string BadValueSentence(std::string_view name, std::string_view quoted,
                             std::string_view expected) {
  return "Ungültiger Wert " + std::string(quoted) + " für „" + std::string(name) +
         "“: erwartet wird " + std::string(expected) + ".";
}

std::optional<int> ParsePlainInteger(std::string_view text) {
  const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
  int value = 0;
  const auto [stop, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || stop != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> ParseSettingValue(const SettingRow& row, std::string_view text) {
  if (row.IsChoice()) {
    if (text == row.yes) return 1;
    if (text == row.no) return 0;
    return std::nullopt;
  }
  const std::optional<int> value = ParsePlainInteger(text);
  if (value && row.range.Contains(*value)) return value;
  return std::nullopt;
}

std::string_view KeyName(ScrollKey key) {
  switch (key) {
    case ScrollKey::ArrowLeft: return "ArrowLeft";
    case ScrollKey::ArrowRight: return "ArrowRight";
    case ScrollKey::ArrowUp: return "ArrowUp";
    case ScrollKey::ArrowDown: return "ArrowDown";
    case ScrollKey::PageUp: return "PageUp";
    case ScrollKey::PageDown: return "PageDown";
    case ScrollKey::Home: return "Home";
    case ScrollKey::End: return "End";
  }
  return {};
}

std::span<const KeyRule> ScrollKeyRules(KeyEdition edition) {
  if (edition == KeyEdition::Desktop) return kDesktopKeys;
  return kPageKeys;
}

}  // namespace varek
