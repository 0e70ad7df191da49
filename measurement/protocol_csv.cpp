// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_csv.h"

#include <cmath>

#include "measurement/constants.h"
#include "measurement/decimal_text.h"

namespace varek {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view StandardHeader = "U in V;I in A;k";
constexpr std::string_view AmplitudeHeader = "U in V;I in A;k;Amplitude";

std::string_view HeaderOf(CsvColumns columns) {
  return columns == CsvColumns::Standard ? StandardHeader : AmplitudeHeader;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos;
       start = at + 1) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

struct FieldRule {
  const char* name;  // as the German message names it
  double lowest;
  double highest;
  bool lowest_excluded;
  bool whole;
  const char* range;  // the allowed values, in words
};

constexpr FieldRule Rules[] = {
    {"U", LowestVoltage, HighestVoltage, false, false, "von 50 bis 2000 V"},
    {"I", 0, HighestCurrent, true, false, "größer als 0 und höchstens 3 A"},
    {"k", 1, HighestOrder, false, true, "eine ganze Zahl von 1 bis 4"},
    {"Amplitude", 0, HighestAmplitude, false, true, "eine ganze Zahl von 0 bis 300"},
};

// The value of one field, or why it cannot be one.
std::optional<double> ReadField(std::string_view field, const FieldRule& rule,
                                std::string& reason) {
  const std::optional<double> value = ParseDecimal(field);
  const std::string quoted = "\u201E" + std::string(field) + "\u201C";
  if (!value) {
    reason = std::string(rule.name) + " = " + quoted + " ist keine Zahl (erwartet z. B. 1,23)";
  } else if (!std::isfinite(*value)) {
    reason = std::string(rule.name) + " = " + quoted + " ist keine endliche Zahl";
  } else if ((rule.lowest_excluded ? *value <= rule.lowest : *value < rule.lowest) ||
             *value > rule.highest || (rule.whole && *value != std::floor(*value))) {
    reason = std::string(rule.name) + " = " + quoted + " ist nicht erlaubt, erwartet " + rule.range;
  } else {
    return value;
  }
  return std::nullopt;
}

CsvParse Refuse(int line, std::string reason) { return {{}, CsvProblem{line, std::move(reason)}}; }

}  // namespace

std::string CsvProblem::Message() const {
  return line > 0 ? "Zeile " + std::to_string(line) + ": " + reason : reason;
}

CsvParse ParseProtocolCsv(std::string_view text, CsvColumns columns) {
  if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
  std::vector<std::string_view> lines = Split(text, '\n');
  for (std::string_view& line : lines) {
    if (line.ends_with('\r')) line.remove_suffix(1);
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  const std::string_view header = HeaderOf(columns);
  if (lines.empty()) return Refuse(1, "die Datei ist leer, erwartet die Kopfzeile \u201E" +
                                          std::string(header) + "\u201C");
  if (lines[0] != header) {
    return Refuse(1, "die Kopfzeile muss \u201E" + std::string(header) + "\u201C lauten");
  }
  if (lines.size() == 1) return Refuse(2, "die Datei enthält keine Messwerte");

  const std::size_t field_count = columns == CsvColumns::Standard ? 3 : 4;
  CsvParse parse;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (lines[i].empty()) return Refuse(line, "leere Zeile zwischen den Messwerten");
    const std::vector<std::string_view> fields = Split(lines[i], ';');
    if (fields.size() < field_count) {
      return Refuse(line, std::to_string(fields.size()) + " Feld(er) statt " +
                              std::to_string(field_count) + ", es fehlt " +
                              Rules[fields.size()].name);
    }
    if (fields.size() > field_count) {
      return Refuse(line, std::to_string(fields.size()) + " Felder statt " +
                              std::to_string(field_count) + " (Feld zu viel)");
    }
    double values[4] = {};
    std::string reason;
    for (std::size_t f = 0; f < field_count; ++f) {
      if (f == 3 && fields[f].empty()) break;  // an imported row: amplitude unknown
      const std::optional<double> value = ReadField(fields[f], Rules[f], reason);
      if (!value) return Refuse(line, reason);
      values[f] = *value;
    }
    Measurement row{values[0], values[1], static_cast<int>(values[2]), std::nullopt};
    if (field_count == 4 && !fields[3].empty()) row.amplitude = static_cast<int>(values[3]);
    parse.rows.push_back(row);
  }
  return parse;
}

std::string WriteProtocolCsv(std::span<const Measurement> rows, CsvColumns columns) {
  std::string text(HeaderOf(columns));
  text += '\n';
  for (const Measurement& row : rows) {
    text += DecimalText(row.voltage) + ';' + DecimalText(row.current) + ';' +
            std::to_string(row.order);
    if (columns == CsvColumns::WithAmplitude) {
      text += ';';
      if (row.amplitude) text += std::to_string(*row.amplitude);
    }
    text += '\n';
  }
  return text;
}

}  // namespace varek
