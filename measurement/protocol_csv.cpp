// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_csv.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "measurement/constants.h"
#include "measurement/decimal_reading.h"
#include "measurement/decimal_text.h"
#include "measurement/protocol_checks.h"
#include "measurement/table_bytes.h"
#include "measurement/text_excerpt.h"

namespace varek {

namespace {

constexpr std::string_view ShortHeader = "U in V;I in A;k";
constexpr std::string_view ExchangeHeader = "U in V;I in A;k;Amplitude";
constexpr std::string_view StoreHeader = "Kennung;U in V;I in A;k;Amplitude;Ablenkung";
constexpr std::string_view SteadyWord = "Gleichspannung";
constexpr std::string_view AlternatingWord = "Wechselspannung";

// The columns of a text, by its header.
enum class Layout { Short, Exchange, OldStore, Store };

struct FieldRule {
  const char* name;  // as the German message names it
  double lowest;
  double highest;
  bool whole;
  const char* range;  // the allowed values, in words
};

constexpr FieldRule VoltageRule{"U", LowestVoltage, HighestVoltage, false, "von 50 bis 2000 V"};
constexpr FieldRule CurrentRule{"I", LowestCurrent, HighestCurrent, false, "von 0,001 bis 3 A"};
constexpr FieldRule OrderRule{"k", 1, HighestOrder, true, "eine ganze Zahl von 1 bis 4"};
constexpr FieldRule AmplitudeRule{"Amplitude", LowestAmplitude, HighestAmplitude, true,
                                  "eine ganze Zahl von 1 bis 300 oder nichts"};

// The value of one field, or why it cannot be one.
std::optional<double> ReadField(std::string_view field, const FieldRule& rule,
                                std::string& reason) {
  const DecimalReading reading = ReadDecimal(field);
  const auto named = [&] { return std::string(rule.name) + " = " + QuotedExcerpt(field); };
  if (reading.kind == NumberKind::NotANumber) {
    reason = named() + " ist keine Zahl (erwartet z. B. 1,23)";
    return std::nullopt;
  }
  const double value = reading.value;
  if (reading.kind != NumberKind::Number || value < rule.lowest || value > rule.highest ||
      (rule.whole && value != std::floor(value))) {
    reason = named() + " ist nicht erlaubt, erwartet " + rule.range;
    return std::nullopt;
  }
  return value;
}

struct Fields {
  std::string_view items[6];
  std::size_t count = 0;  // all fields of the line, also beyond six
};

Fields Split(std::string_view line) {
  Fields fields;
  fields.count = static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')) + 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i < std::size(fields.items) && start <= line.size(); ++i) {
    const std::size_t end = std::min(line.find(';', start), line.size());
    fields.items[i] = line.substr(start, end - start);
    start = end + 1;
  }
  return fields;
}

std::size_t FieldCount(Layout layout) {
  switch (layout) {
    case Layout::Short: return 3;
    case Layout::Exchange:
    case Layout::OldStore: return 4;
    case Layout::Store: return 6;
  }
  return 0;
}

const char* FieldName(Layout layout, std::size_t index) {
  static const char* const Measured[] = {"U", "I", "k", "Amplitude"};
  if (layout != Layout::Store) return Measured[index];
  static const char* const Stored[] = {"Kennung", "U", "I", "k", "Amplitude", "Ablenkung"};
  return Stored[index];
}

// The row of one line, or why it cannot be one.
std::optional<ProtocolRow> ReadRow(std::string_view line, Layout layout, int number,
                                   std::string& reason) {
  const Fields fields = Split(line);
  const std::size_t expected = FieldCount(layout);
  if (fields.count != expected) {
    reason = std::to_string(fields.count) + (fields.count == 1 ? " Feld" : " Felder") + " statt " +
             std::to_string(expected);
    reason += fields.count < expected ? std::string(", es fehlt ") + FieldName(layout, fields.count)
                                      : std::string(" (Feld zu viel)");
    return std::nullopt;
  }
  ProtocolRow row;
  std::size_t at = 0;
  if (layout == Layout::Store) {
    const std::string_view id = fields.items[at++];
    if (!IsRowId(id)) {
      reason =
          "Kennung " + QuotedExcerpt(id) + " ist nicht erlaubt, erwartet 1 bis 32 Zeichen 0-9, a-z";
      return std::nullopt;
    }
    row.id = id;
  } else if (layout == Layout::OldStore) {
    row.id = "z" + std::to_string(number);
  }
  const std::optional<double> voltage = ReadField(fields.items[at++], VoltageRule, reason);
  if (!voltage) return std::nullopt;
  const std::optional<double> current = ReadField(fields.items[at++], CurrentRule, reason);
  if (!current) return std::nullopt;
  const std::optional<double> order = ReadField(fields.items[at++], OrderRule, reason);
  if (!order) return std::nullopt;
  row.values = {*voltage, *current, static_cast<int>(*order), std::nullopt, Deflection::Unknown};
  if (layout != Layout::Short && !fields.items[at].empty()) {
    const std::optional<double> amplitude = ReadField(fields.items[at], AmplitudeRule, reason);
    if (!amplitude) return std::nullopt;
    row.values.amplitude = static_cast<int>(*amplitude);
  }
  ++at;
  if (layout == Layout::Store) {
    const std::string_view deflection = fields.items[at];
    if (deflection == SteadyWord) {
      row.values.deflection = Deflection::Steady;
    } else if (deflection == AlternatingWord) {
      row.values.deflection = Deflection::Alternating;
    } else if (!deflection.empty()) {
      reason = "Ablenkung = " + QuotedExcerpt(deflection) + " ist nicht erlaubt, erwartet " +
               std::string(SteadyWord) + ", " + std::string(AlternatingWord) + " oder nichts";
      return std::nullopt;
    }
  }
  if (const std::optional<std::string> why = ImplausibleRow(row.values)) {
    reason = *why;
    return std::nullopt;
  }
  return row;
}

std::string Quoted(std::string_view text) { return "\u201E" + std::string(text) + "\u201C"; }

std::optional<Layout> LayoutOf(std::string_view header, TableForm form) {
  if (header == StoreHeader) return Layout::Store;
  if (form == TableForm::Exchange) {
    if (header == ExchangeHeader) return Layout::Exchange;
    if (header == ShortHeader) return Layout::Short;
  } else if (header == ExchangeHeader) {
    return Layout::OldStore;
  }
  return std::nullopt;
}

std::string ExpectedHeaders(TableForm form) {
  return form == TableForm::Exchange ? Quoted(ExchangeHeader) + " oder " + Quoted(ShortHeader)
                                     : Quoted(StoreHeader);
}

}  // namespace

std::string CsvProblem::Message() const {
  return line > 0 ? "Zeile " + std::to_string(line) + ": " + reason : reason;
}

std::string TableRead::Summary() const {
  if (problems.empty()) return {};
  std::string text = problems.front().Message();
  if (bad_lines > 1) {
    text += " (und " + std::to_string(bad_lines - 1) +
            (bad_lines == 2 ? " weitere fehlerhafte Zeile)" : " weitere fehlerhafte Zeilen)");
  }
  return text;
}

std::string TooManyRowsReason(std::size_t rows) {
  return std::to_string(rows) + " Zeilen sind mehr als die " + std::to_string(MaxTableRows) +
         ", die das Protokoll fasst";
}

TableRead ReadTable(std::string_view bytes, TableForm form) {
  TableRead read;
  const auto refuse_whole = [&](int line, std::string reason) {
    read.refused_whole = true;
    read.problems.push_back({line, std::move(reason)});
    read.bad_lines = 0;
    read.rows.clear();
    return read;
  };
  const TableBytes decoded = DecodeTableBytes(bytes);
  if (!decoded.refusal.empty()) return refuse_whole(0, decoded.refusal);
  std::string_view text = decoded.text;
  // Empty lines at the end do not count.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  if (text.empty()) {
    if (form == TableForm::Store) return read;  // nothing recorded yet
    return refuse_whole(1, "die Datei ist leer, erwartet die Kopfzeile " + ExpectedHeaders(form));
  }

  std::size_t start = 0;
  auto next_line = [&]() {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
  };
  const std::string_view header = next_line();
  const std::size_t most_bytes = header == StoreHeader ? MaxStoreBytes : MaxTableBytes;
  if (text.size() > most_bytes) {
    return refuse_whole(0, "die Tabelle ist größer als " + SizeInWords(most_bytes));
  }
  const std::optional<Layout> layout = LayoutOf(header, form);
  if (!layout) {
    return refuse_whole(1, "die Kopfzeile muss " + ExpectedHeaders(form) + " lauten, nicht " +
                               QuotedExcerpt(header));
  }
  if (start > text.size() && form == TableForm::Exchange) {
    return refuse_whole(2, "die Datei enthält keine Messwerte");
  }
  std::unordered_set<std::string> ids;
  for (int number = 2; start <= text.size(); ++number) {
    if (static_cast<std::size_t>(number) - 2 == MaxTableRows) {
      return refuse_whole(
          0,
          TooManyRowsReason(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'))));
    }
    const std::string_view line = next_line();
    std::string reason;
    std::optional<ProtocolRow> row;
    if (line.empty()) {
      reason = "leere Zeile zwischen den Messwerten";
    } else {
      row = ReadRow(line, *layout, number, reason);
      if (row && !row->id.empty() && !ids.insert(row->id).second) {
        reason = "Kennung " + QuotedExcerpt(row->id) + " kommt schon in einer früheren Zeile vor";
        row.reset();
      }
    }
    if (row) {
      read.rows.push_back(std::move(*row));
    } else {
      ++read.bad_lines;
      if (read.problems.size() < MaxNamedProblems) read.problems.push_back({number, reason});
    }
  }
  return read;
}

std::string WriteTable(const ProtocolTable& rows, TableForm form) {
  const bool store = form == TableForm::Store;
  std::string text(store ? StoreHeader : ExchangeHeader);
  text += '\n';
  for (const ProtocolRow& row : rows) {
    const Measurement& m = row.values;
    if (store) text += row.id + ';';
    text +=
        DecimalText(m.voltage) + ';' + DecimalText(m.current) + ';' + std::to_string(m.order) + ';';
    if (m.amplitude) text += std::to_string(*m.amplitude);
    if (store) {
      text += ';';
      if (m.deflection == Deflection::Steady) text += SteadyWord;
      if (m.deflection == Deflection::Alternating) text += AlternatingWord;
    }
    text += '\n';
  }
  return text;
}

}  // namespace varek
