// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "measurement/captions.h"
#include "measurement/constants.h"
#include "measurement/decimal_reading.h"
#include "measurement/decimal_text.h"
#include "measurement/id_index.h"
#include "measurement/portable_chars.h"
#include "measurement/protocol_checks.h"
#include "measurement/table_bytes.h"
#include "measurement/text_excerpt.h"

namespace varek {

namespace {

// The store's header before the reading uncertainty and "in Auswertung".
constexpr std::string_view EarlierStoreHeader = "Kennung;U in V;I in A;k;Amplitude;Ablenkung";
constexpr std::string_view SteadyWord = "Gleichspannung";
constexpr std::string_view AlternatingWord = "Wechselspannung";
constexpr std::string_view InWord = "ja";
constexpr std::string_view OutWord = "nein";
// Currents and their uncertainties are whole mA when recorded: written with
// at least this many decimals, so that a column lines up ("0,870").
constexpr int CurrentDecimals = 3;

// The columns a table can have, in the order they are written.
enum class Column { Id, Voltage, Current, Order, Amplitude, Deflection, Uncertainty, Inclusion };
struct ColumnTitle {
  Column column;
  std::string_view title;  // in the header
  const char* name;        // as the German message names a field
};
constexpr ColumnTitle Columns[] = {
    {Column::Id, "Kennung", "Kennung"},
    {Column::Voltage, "U in V", "U"},
    {Column::Current, "I in A", "I"},
    {Column::Order, "k", "k"},
    {Column::Amplitude, "Amplitude", "Amplitude"},
    {Column::Deflection, "Ablenkung", "Ablenkung"},
    {Column::Uncertainty, "\u0394I in A", "\u0394I"},
    {Column::Inclusion, "in Auswertung", "in Auswertung"},
};
constexpr Column Required[] = {Column::Voltage, Column::Current, Column::Order};

// The columns of a text, by its header, in the order of its fields.
struct Layout {
  std::vector<const ColumnTitle*> fields;
  bool store = false;  // rows of the store without identities are named after their lines
  bool Has(Column column) const {
    return std::any_of(fields.begin(), fields.end(),
                       [column](const ColumnTitle* c) { return c->column == column; });
  }
};

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
constexpr FieldRule UncertaintyRule{"\u0394I", LowestReadingUncertainty, HighestReadingUncertainty,
                                    false, "von 0,0001 bis 0,3 A oder nichts"};

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

// The fields of a line, at most one more than there are columns (in
// place: a table's 20,000 lines are split at once); `count` also counts
// those beyond `wanted`.
struct Fields {
  std::array<std::string_view, std::size(Columns) + 1> item{};
  std::size_t taken = 0;
  std::size_t count = 0;
  std::span<const std::string_view> items() const { return {item.data(), taken}; }
};

Fields Split(std::string_view line, std::size_t wanted) {
  Fields fields;
  fields.count = static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')) + 1;
  std::size_t start = 0;
  for (; fields.taken < std::min(wanted, fields.item.size()) && start <= line.size();
       ++fields.taken) {
    const std::size_t end = std::min(line.find(';', start), line.size());
    fields.item[fields.taken] = line.substr(start, end - start);
    start = end + 1;
  }
  return fields;
}

// A field that must be one of two words or empty: 1, 2 or 0; -1 otherwise.
int WordOf(std::string_view field, std::string_view first, std::string_view second) {
  if (field == first) return 1;
  if (field == second) return 2;
  return field.empty() ? 0 : -1;
}

// Reads `field` of the column into `row`; false with the reason when it cannot.
bool ReadColumn(const ColumnTitle& column, std::string_view field, ProtocolRow& row,
                std::string& reason) {
  Measurement& m = row.values;
  const auto number = [&](const FieldRule& rule, auto store) {
    const std::optional<double> value = ReadField(field, rule, reason);
    if (value) store(*value);
    return value.has_value();
  };
  const auto words = [&](std::string_view first, std::string_view second) {
    const int word = WordOf(field, first, second);
    if (word < 0) {
      reason = std::string(column.name) + " = " + QuotedExcerpt(field) +
               " ist nicht erlaubt, erwartet " + std::string(first) + ", " + std::string(second) +
               " oder nichts";
    }
    return word;
  };
  switch (column.column) {
    case Column::Id:
      if (!IsRowId(field)) {
        reason = "Kennung " + QuotedExcerpt(field) +
                 " ist nicht erlaubt, erwartet 1 bis 32 Zeichen 0-9, a-z";
        return false;
      }
      row.id = field;
      return true;
    case Column::Voltage: return number(VoltageRule, [&](double v) { m.voltage = v; });
    case Column::Current: return number(CurrentRule, [&](double v) { m.current = v; });
    case Column::Order: return number(OrderRule, [&](double v) { m.order = static_cast<int>(v); });
    case Column::Amplitude:
      return field.empty() ||
             number(AmplitudeRule, [&](double v) { m.amplitude = static_cast<int>(v); });
    case Column::Uncertainty:
      return field.empty() || number(UncertaintyRule, [&](double v) { m.reading_uncertainty = v; });
    case Column::Deflection: {
      const int word = words(SteadyWord, AlternatingWord);
      m.deflection = word == 1   ? Deflection::Steady
                     : word == 2 ? Deflection::Alternating
                                 : Deflection::Unknown;
      return word >= 0;
    }
    case Column::Inclusion: {
      const int word = words(InWord, OutWord);
      m.inclusion = word == 1 ? Inclusion::In : word == 2 ? Inclusion::Out : Inclusion::Automatic;
      return word >= 0;
    }
  }
  return false;
}

// The row of one line, or why it cannot be one; `id` its identity's field.
std::optional<ProtocolRow> ReadRow(std::string_view line, const Layout& layout, int number,
                                   std::string& reason, std::string_view& id) {
  const std::size_t expected = layout.fields.size();
  const Fields fields = Split(line, expected);
  if (fields.count != expected) {
    reason = std::to_string(fields.count) + (fields.count == 1 ? " Feld" : " Felder") + " statt " +
             std::to_string(expected);
    reason += fields.count < expected
                  ? std::string(", es fehlt ") + layout.fields[fields.count]->name
                  : std::string(" (Feld zu viel)");
    return std::nullopt;
  }
  ProtocolRow row;
  if (layout.store && !layout.Has(Column::Id)) row.id = "z" + std::to_string(number);
  for (std::size_t i = 0; i < expected; ++i) {
    if (!ReadColumn(*layout.fields[i], fields.items()[i], row, reason)) return std::nullopt;
    if (layout.fields[i]->column == Column::Id) id = fields.items()[i];
  }
  if (const std::optional<std::string> why = ImplausibleRow(row.values)) {
    reason = *why;
    return std::nullopt;
  }
  return row;
}

// The header's columns, or why it cannot be a header: every title known
// and once, U, I and k there; an identity only in the store and in a file
// in the store's own form (`own_store`: a store kept aside, opened again).
std::optional<Layout> LayoutOf(std::string_view header, TableForm form, bool own_store,
                               std::string& reason) {
  Layout layout;
  layout.store = form == TableForm::Store;
  const Fields titles = Split(header, std::size(Columns) + 1);
  for (std::string_view title : titles.items()) {
    const auto known = std::find_if(std::begin(Columns), std::end(Columns),
                                    [title](const ColumnTitle& c) { return c.title == title; });
    if (known == std::end(Columns) ||
        (known->column == Column::Id && form != TableForm::Store && !own_store)) {
      reason = "die Kopfzeile nennt die unbekannte Spalte " + QuotedExcerpt(title);
      return std::nullopt;
    }
    if (layout.Has(known->column)) {
      reason = "die Kopfzeile nennt die Spalte " + Quoted(title) + " zweimal";
      return std::nullopt;
    }
    layout.fields.push_back(&*known);
  }
  if (titles.count > titles.taken) {
    reason = "die Kopfzeile hat mehr Spalten als es gibt";
    return std::nullopt;
  }
  for (Column column : Required) {
    if (!layout.Has(column)) {
      reason = "die Kopfzeile muss die Spalten " + Quoted(Columns[1].title) + ", " +
               Quoted(Columns[2].title) + " und " + Quoted(Columns[3].title) + " nennen, nicht " +
               QuotedExcerpt(header);
      return std::nullopt;
    }
  }
  return layout;
}

// The header the program writes.
std::string HeaderOf(TableForm form) {
  std::string header;
  for (const ColumnTitle& column : Columns) {
    if (column.column == Column::Id && form != TableForm::Store) continue;
    header += (header.empty() ? "" : ";") + std::string(column.title);
  }
  return header;
}

// At least CurrentDecimals decimals; more where the value has them.
std::string CurrentText(double value) {
  std::string fixed = FixedText(value, CurrentDecimals);
  // FixedValue is the double that the fixed text reads back as, without
  // reading it (twice for each row of the store); ReadDecimal tells too
  // large magnitudes apart only as such.
  const bool reads_back = std::fabs(value) < 1e30 ? FixedValue(value, CurrentDecimals) == value
                                                  : ReadDecimal(fixed).value == value;
  return reads_back ? fixed : DecimalText(value);
}

// A table's text written through a buffer and added to the text a piece
// at a time: in the browser's build each character added to a string is a
// call of its own, and a store of 20,000 rows is written at once.
class TextWriter {
 public:
  explicit TextWriter(std::string& text) : text_(text) {}
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;
  ~TextWriter() { Flush(); }

  // Room for `most` characters (at most the buffer's size) at the place
  // returned; Wrote takes those written.
  char* Room(std::size_t most) {
    if (buffer_.size() - used_ < most) Flush();
    return buffer_.data() + used_;
  }
  void Wrote(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
  void Put(char c) {
    *Room(1) = c;
    ++used_;
  }
  void Put(std::string_view piece) {
    if (piece.size() > buffer_.size()) {
      Flush();
      text_.append(piece);
      return;
    }
    Wrote(std::copy(piece.begin(), piece.end(), Room(piece.size())));
  }
  void Put(int value) {
    constexpr std::size_t MostIntChars = 11;  // "-2147483648"
    char* const place = Room(MostIntChars);
    Wrote(std::to_chars(place, place + MostIntChars, value).ptr);
  }

 private:
  void Flush() {
    text_.append(buffer_.data(), used_);
    used_ = 0;
  }
  std::string& text_;
  std::array<char, 4096> buffer_;  // not cleared: only what is written is used
  std::size_t used_ = 0;
};

// CurrentText(value) written.
void PutCurrent(TextWriter& out, double value) {
  if (const char* end =
          WriteExactFixed(out.Room(MostExactFixedChars), value, CurrentDecimals, ',')) {
    out.Wrote(end);
  } else {
    out.Put(CurrentText(value));
  }
}

// One row's line of WriteTable, with its line end, field by field.
void PutRowLine(TextWriter& out, const ProtocolRow& row, TableForm form) {
  const Measurement& m = row.values;
  if (form == TableForm::Store) {
    out.Put(row.id);
    out.Put(';');
  }
  out.Wrote(WriteDecimalText(out.Room(MostDecimalChars), m.voltage));
  out.Put(';');
  PutCurrent(out, m.current);
  out.Put(';');
  out.Put(m.order);
  out.Put(';');
  if (m.amplitude) out.Put(*m.amplitude);
  out.Put(';');
  if (m.deflection == Deflection::Steady) out.Put(SteadyWord);
  if (m.deflection == Deflection::Alternating) out.Put(AlternatingWord);
  out.Put(';');
  if (m.reading_uncertainty) PutCurrent(out, *m.reading_uncertainty);
  out.Put(';');
  if (m.inclusion == Inclusion::In) out.Put(InWord);
  if (m.inclusion == Inclusion::Out) out.Put(OutWord);
  out.Put('\n');
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
    return refuse_whole(1, "die Datei ist leer, erwartet die Kopfzeile " + Quoted(HeaderOf(form)));
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
  // A file in the store's own form: one the program wrote, up to its row limit.
  const bool own_store = header == HeaderOf(TableForm::Store) || header == EarlierStoreHeader;
  const std::size_t most_bytes = own_store ? MaxStoreBytes : MaxTableBytes;
  if (text.size() > most_bytes) {
    return refuse_whole(0, "die Tabelle ist größer als " + SizeInWords(most_bytes));
  }
  std::string why;
  const std::optional<Layout> layout = LayoutOf(header, form, own_store, why);
  if (!layout) return refuse_whole(1, why);
  if (start > text.size() && form == TableForm::Exchange) {
    return refuse_whole(2, "die Datei enthält keine Messwerte");
  }
  const std::string_view below_header = text.substr(std::min(start, text.size()));
  const auto lines =
      static_cast<std::size_t>(std::count(below_header.begin(), below_header.end(), '\n'));
  const std::size_t most_rows = std::min(lines + 1, MaxTableRows);
  read.rows.reserve(most_rows);
  // Identities read from the text are checked there; those named after
  // their lines differ anyway.
  const bool with_ids = layout->Has(Column::Id);
  IdIndex ids(with_ids ? most_rows : 0);
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
      std::string_view id;
      row = ReadRow(line, *layout, number, reason, id);
      if (row && with_ids && !ids.Insert(id)) {
        reason = "Kennung " + QuotedExcerpt(row->id) + " kommt schon in einer früheren Zeile vor";
        row.reset();
      }
      // A store opened as an exchange file: its identities are only checked.
      if (row && form == TableForm::Exchange) row->id.clear();
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
  std::string text = HeaderOf(form) + '\n';
  if (rows.empty()) return text;
  AppendRowLine(text, rows.front(), form);
  // Room for lines of about the first one's length: the text of 20,000
  // rows is not moved again and again as it grows.
  const std::size_t first_line = text.size() - HeaderOf(form).size() - 1;
  text.reserve(text.size() + (rows.size() - 1) * (first_line + first_line / 4));
  {
    TextWriter out(text);
    for (std::size_t i = 1; i < rows.size(); ++i) PutRowLine(out, rows[i], form);
  }  // (written out)
  return text;
}

void AppendRowLine(std::string& text, const ProtocolRow& row, TableForm form) {
  TextWriter out(text);
  PutRowLine(out, row, form);
}

}  // namespace varek
