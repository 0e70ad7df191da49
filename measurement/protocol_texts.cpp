// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "measurement/amplitude_advice.h"
#include "measurement/captions.h"
#include "measurement/constants.h"
#include "measurement/decimal_text.h"
#include "measurement/protocol_csv.h"
#include "measurement/text_excerpt.h"

namespace varek {

namespace {

constexpr std::size_t NamedRows = 5;  // row numbers a warning lists

// "Nr. 3", "Nr. 2, 5 und 9", "Nr. 1, 2, 3, 4, 5 und 7 weitere".
std::string RowNumbers(const std::vector<std::size_t>& numbers) {
  std::string text = "Nr. ";
  const std::size_t shown = std::min(numbers.size(), NamedRows);
  for (std::size_t i = 0; i < shown; ++i) {
    if (i > 0) text += i + 1 == shown && numbers.size() == shown ? " und " : ", ";
    text += std::to_string(numbers[i]);
  }
  if (numbers.size() > shown) text += " und " + std::to_string(numbers.size() - shown) + " weitere";
  return text;
}

std::string Plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<std::string> TableColumnTitles() {
  return {"Nr.", "U in V",    "I in A",  "\u0394I in mA",
          "k",   "Amplitude", "B in mT", "e/m in 10\u00b9\u00b9 C/kg"};
}

std::vector<std::string> TableRowCells(int number, const Measurement& row) {
  std::string amplitude = "\u2013";
  if (row.amplitude) {
    amplitude = std::to_string(*row.amplitude);
    if (row.deflection == Deflection::Alternating) amplitude += " ~";
    if (row.deflection == Deflection::Steady) amplitude += " =";
  }
  return {std::to_string(number),
          DecimalText(row.voltage),
          FixedText(row.current, 3),
          row.reading_uncertainty ? ForPerson(DecimalText(*row.reading_uncertainty * 1e3))
                                  : std::string("\u2013"),
          std::to_string(row.order),
          amplitude,
          FixedText(FieldOf(row.current) * 1e3, 3),
          FixedText(SpecificChargeOf(row) / 1e11, 4)};
}

std::string ResultText(const std::optional<SeriesResult>& result) {
  if (!result) {
    return "Noch keine Messwerte: Fokus einstellen, dann " + Quoted(caption::Record) + ".";
  }
  std::string text =
      "e/m = " + SchoolNotation(result->specific_charge, result->uncertainty, "C/kg");
  if (result->without_scatter) return text + " (keine Streuung: Unsicherheit nur mit \u0394I)";
  if (!result->uncertainty) return text + " (ein Messwert: keine Unsicherheit)";
  if (!result->reading_uncertainty) return text + " ohne Ableseunsicherheit";
  if (result->scatter_factor > 1) {
    text += ", Streuung \u00d7 " + FixedText(result->scatter_factor, 1);
  }
  return text;
}

std::string NothingIncludedText() {
  return "Kein Messwert in der Auswertung: einen Messwert in der Tabelle anhaken.";
}

std::string DeviationText(const std::optional<SeriesResult>& result) {
  if (!result || !std::isfinite(result->deviation_percent)) return {};
  std::string percent = FixedText(result->deviation_percent, 2);
  // Rounded to nothing, it has no sign.
  if (percent == "-0,00") percent = "0,00";
  if (percent.front() != '-' && percent != "0,00") percent = "+" + percent;
  std::string text = "Abweichung vom Literaturwert " +
                     SchoolNotation(LiteratureSpecificCharge, std::nullopt, "C/kg", 6) + ": " +
                     ForPerson(percent) + " %";
  if (const std::optional<double> sigmas = result->DeviationInSigma()) {
    // Within 2 sigma an honest series lies 95 times in 100, beyond 3 sigma
    // fewer than 3 times in 1000: between the two the series is in doubt.
    const double size = std::abs(*sigmas);
    const char* verdict = size <= 2 ? "verträglich" : size <= 3 ? "fraglich" : "nicht verträglich";
    text += " = " + FixedText(size, 1) + " \u03c3: " + verdict;
  }
  return text;
}

std::string LeftOutText(const std::vector<std::size_t>& outliers,
                        const std::vector<std::size_t>& by_hand) {
  std::string text;
  if (!outliers.empty()) text = RowNumbers(outliers) + " nicht berücksichtigt (Ausreißer)";
  if (!by_hand.empty()) {
    text += (text.empty() ? "" : "; ") + RowNumbers(by_hand) + " nicht berücksichtigt (abgewählt)";
  }
  return text;
}

std::vector<std::string> WarningLines(std::span<const Measurement> rows,
                                      std::span<const OutlierMark> marks) {
  std::vector<std::size_t> outliers, too_large, too_small;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i < marks.size() && marks[i].marked) outliers.push_back(i + 1);
    if (!rows[i].amplitude) continue;
    switch (AdviceFor(rows[i].voltage, *rows[i].amplitude)) {
      case AmplitudeAdvice::Fine: break;
      case AmplitudeAdvice::NearPlates: too_large.push_back(i + 1); break;
      case AmplitudeAdvice::TooSmall: too_small.push_back(i + 1); break;
    }
  }
  std::vector<std::string> lines;
  if (outliers.size() == 1) {
    const double deviation = marks[outliers.front() - 1].deviation_percent;
    lines.push_back("Ausreißer " + RowNumbers(outliers) + " (markiert): e/m liegt " +
                    FixedText(std::abs(deviation), 1) + (deviation < 0 ? " % unter" : " % über") +
                    " der Ausgleichsgeraden der übrigen; Fokus prüfen und neu messen.");
  } else if (!outliers.empty()) {
    lines.push_back(
        Plural(outliers.size(), "Ausreißer", "Ausreißer") + " (markiert): " + RowNumbers(outliers) +
        " weichen weit von der Ausgleichsgeraden der übrigen ab; Fokus prüfen und neu messen.");
  }
  if (!too_large.empty()) {
    lines.push_back(
        "Amplitude zu groß für die Spannung (die Elektronen streifen die Ablenkplatten, "
        "der Fokus verschiebt sich oder fehlt): " +
        RowNumbers(too_large) + ".");
  }
  if (!too_small.empty()) {
    lines.push_back(
        "Amplitude zu klein für die Spannung (die Marken liegen über viele mA "
        "aufeinander, der Strom ist unsicher): " +
        RowNumbers(too_small) + ".");
  }
  return lines;
}

std::string ClearQuestion(std::size_t rows) {
  const std::string which =
      rows == 1 ? "Den Messwert" : "Alle " + std::to_string(rows) + " Messwerte";
  return which + " löschen? \u201ERückgängig\u201C (Strg+Z) holt " + (rows == 1 ? "ihn" : "sie") +
         " zurück.";
}

std::string RepeatQuestion(const Measurement& row) {
  return "Diesen Messwert noch einmal übernehmen? Eben wurde derselbe übernommen: U = " +
         DecimalText(row.voltage) + " V, I = " + FixedText(row.current, 3) +
         " A, k = " + std::to_string(row.order) + ".";
}

std::string ImportQuestion(std::string_view file, std::size_t file_rows, std::size_t table_rows) {
  return QuotedExcerpt(file, PathExcerptLength) + " enthält " +
         Plural(file_rows, "Messwert", "Messwerte") + ". Die Tabelle (" +
         Plural(table_rows, "Messwert", "Messwerte") + ") damit ersetzen oder sie anhängen?";
}

std::string RecordedMessage(std::size_t number, const Measurement& row) {
  std::string text =
      "Messwert Nr. " + std::to_string(number) + " übernommen: U = " + DecimalText(row.voltage) +
      " V, I = " + FixedText(row.current, 3) + " A, k = " + std::to_string(row.order);
  if (row.amplitude) text += ", Amplitude " + std::to_string(*row.amplitude);
  if (row.deflection == Deflection::Alternating) text += " (Wechselspannung)";
  if (row.deflection == Deflection::Steady) text += " (Gleichspannung)";
  return text + ".";
}

std::string DeletedMessage(std::size_t number) {
  return "Messwert Nr. " + std::to_string(number) + " gelöscht.";
}

std::string InclusionMessage(std::size_t number, bool included) {
  return "Messwert Nr. " + std::to_string(number) +
         (included ? " in die Auswertung genommen." : " aus der Auswertung genommen.");
}

std::string ClearedMessage(std::size_t rows) {
  return Plural(rows, "Messwert", "Messwerte") + " gelöscht.";
}

std::string RestoredMessage(const std::vector<std::size_t>& numbers) {
  if (numbers.size() == 1)
    return "Messwert Nr. " + std::to_string(numbers.front()) + " wiederhergestellt.";
  return Plural(numbers.size(), "Messwert", "Messwerte") + " wiederhergestellt" +
         (numbers.empty() ? std::string() : " (" + RowNumbers(numbers) + ")") + ".";
}

std::string ImportedMessage(std::size_t rows, std::string_view file) {
  return Plural(rows, "Messwert", "Messwerte") + " importiert aus " +
         QuotedExcerpt(file, PathExcerptLength);
}

std::string ImportRefusedMessage(std::string_view file, const std::string& why) {
  return QuotedExcerpt(file, PathExcerptLength) + ", " + why + ". Die Tabelle bleibt, wie sie war.";
}

std::string SavedMessage(std::string_view what, std::string_view file) {
  return std::string(what) + " gespeichert in " + QuotedExcerpt(file, PathExcerptLength);
}

std::string StoreRepairedMessage(const std::string& summary, std::size_t rows_kept,
                                 std::string_view kept_as) {
  if (rows_kept == 0) {
    return "Gespeichertes Protokoll unlesbar (" + summary + "); das Original liegt unter " +
           Quoted(kept_as) + ", die Tabelle beginnt leer.";
  }
  return "Gespeichertes Protokoll teilweise unlesbar (" + summary +
         "): " + Plural(rows_kept, "Messwert", "Messwerte") +
         " geladen, das Original liegt unter " + Quoted(kept_as) + ".";
}

std::string DateLine(int year, int month, int day, int hour, int minute) {
  char text[64];
  std::snprintf(text, sizeof text, "Datum: %02d.%02d.%04d, %02d:%02d Uhr", day, month, year, hour,
                minute);
  return text;
}

std::string StorageFull() { return "der Speicher des Browsers ist voll"; }

std::string StoreNotKeptAsideMessage(const std::string& summary, std::size_t rows_kept) {
  return "Gespeichertes Protokoll teilweise unlesbar (" + summary +
         "), und der Speicher des Browsers "
         "ist zu voll, um es beiseitezulegen: es bleibt unverändert gespeichert, " +
         Plural(rows_kept, "Messwert", "Messwerte") +
         " gezeigt, Änderungen werden nicht gespeichert.";
}

std::string StorageRefused() { return "der Browser erlaubt dieser Seite keinen Speicher"; }

std::string TableFullMessage(std::size_t rows) {
  return "Nicht übernommen: " + TooManyRowsReason(rows) + ". Die Tabelle bleibt, wie sie war.";
}

std::string StoreShrunkMessage(std::size_t rows_read, std::size_t rows_written,
                               std::string_view kept_as) {
  return "Das gespeicherte Protokoll hat von außen Zeilen verloren (" + std::to_string(rows_read) +
         " statt " + std::to_string(rows_written) +
         "): die Tabelle bleibt, wie sie war, die gekürzte Datei liegt unter " + Quoted(kept_as) +
         ".";
}

std::string StoreDeletedMessage(std::size_t rows_written) {
  return "Das gespeicherte Protokoll (" + Plural(rows_written, "Messwert", "Messwerte") +
         ") wurde von außen gelöscht: die Tabelle bleibt, wie sie war, und ist neu gesichert.";
}

std::string OlderPageStoreKeptAsideMessage(std::size_t rows, std::string_view kept_as) {
  return "Ein Tab mit einer älteren Fassung der Seite hat " +
         Plural(rows, "Messwert", "Messwerte") + " getrennt gespeichert, beiseitegelegt unter " +
         Quoted(kept_as) + "; die Tabelle hier bleibt. Jenen Tab bitte neu laden.";
}

std::string NotStoredMessage(std::string_view why) {
  return "Nicht gesichert: " + std::string(why) +
         ". Die Messwerte bleiben hier und werden gesichert, sobald es geht, oder mit " +
         Quoted(protocol_caption::ExportButton) + ".";
}

std::string FolderNotWritable(std::string_view folder, std::string_view reason) {
  return "Ordner " + QuotedExcerpt(folder, PathExcerptLength) + " nicht beschreibbar" +
         (reason.empty() ? std::string() : " (" + std::string(reason) + ")") +
         ": beschreibbar machen";
}

std::string NotYetStored(std::string_view message) {
  return std::string(message) + " (noch nicht gesichert)";
}

std::string StoredAgainMessage(std::size_t rows) {
  return "Gesichert: die Tabelle (" + Plural(rows, "Messwert", "Messwerte") +
         ") ist wieder im Protokoll gespeichert.";
}

}  // namespace varek
