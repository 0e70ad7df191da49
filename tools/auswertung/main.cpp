// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-auswertung FILE.csv: evaluates a measurement table in the exchange
// form of measurement/protocol_csv.h (at most 1 MB, a regular file): one
// line per row (outliers marked), a line per warning, then the result as the
// protocol states it: e/m with its standard uncertainty in school notation,
// "e/m = (1,7678 ± 0,0032) · 10¹¹ C/kg", the deviation from the literature
// value and the rows left out of the fit. A file it cannot take gives one
// German line on stderr that names the line and the reason, and exit 2.
#include <cstdio>
#include <optional>
#include <string>

#include "measurement/atomic_file.h"
#include "measurement/decimal_text.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_texts.h"
#include "measurement/protocol_view.h"
#include "measurement/text_excerpt.h"
#include "tools/flags/tool_flags.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "varek-auswertung: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varek;
  std::string path;
  const ToolCommandLine line{
      .tool = "varek-auswertung",
      .purpose = "Wertet eine Messwerttabelle (CSV) aus wie das Messprotokoll des Programms.",
      .settings = {},
      .argument = "DATEI.csv",
      .argument_value = &path};
  Settings unused;
  if (const auto status = ParseFlagsOrReport(line, argc, argv, unused)) return *status;
  std::string error;
  const std::optional<std::string> text = ReadFileUpTo(path, MaxStoreBytes, error);
  if (!text) return Fail(error);
  const TableRead read = ReadTable(*text, TableForm::Exchange);
  if (!read.Clean()) return Fail(QuotedExcerpt(path, PathExcerptLength) + ": " + read.Summary());

  const ProtocolView view = ViewOf(read.rows);
  for (std::size_t i = 0; i < view.values.size(); ++i) {
    const Measurement& row = view.values[i];
    const std::string uncertainty =
        row.reading_uncertainty ? " ± " + DecimalText(*row.reading_uncertainty) : "";
    std::printf("U = %s V; I = %s%s A; k = %d; B = %s mT; e/m = %s%s\n",
                DecimalText(row.voltage).c_str(), DecimalText(row.current).c_str(),
                uncertainty.c_str(), row.order, FixedText(FieldOf(row.current) * 1000, 4).c_str(),
                SchoolNotation(SpecificChargeOf(row), std::nullopt, "C/kg").c_str(),
                view.marks[i].marked ? " (Ausreißer)" : "");
  }
  for (const std::string& warning : view.warnings) std::printf("Hinweis: %s\n", warning.c_str());
  std::printf("%s\n", view.Summary().c_str());
  return 0;
}
