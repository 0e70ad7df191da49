// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-auswertung FILE.csv: evaluates a measurement table (see
// measurement/protocol_csv.h for its form): one line per row and the series'
// e/m with its standard uncertainty as the last line.
#include <cstdio>
#include <optional>
#include <string>

#include "measurement/atomic_file.h"
#include "measurement/decimal_text.h"
#include "measurement/evaluation.h"
#include "measurement/protocol_csv.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "varek-auswertung: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varek;
  if (argc != 2) return Fail("Aufruf: varek-auswertung DATEI.csv");
  const std::string path = argv[1];
  std::string error;
  const std::optional<std::string> text = ReadWholeFile(path, error);
  if (!text) return Fail(error);
  const CsvParse parse = ParseProtocolCsv(*text);
  if (parse.problem) return Fail(path + ": " + parse.problem->Message());

  for (const Measurement& row : parse.rows) {
    std::printf("U = %s V; I = %s A; k = %d; B = %s mT; e/m = %s\n",
                DecimalText(row.voltage).c_str(), DecimalText(row.current).c_str(), row.order,
                FixedText(FieldOf(row.current) * 1000, 4).c_str(),
                ValueWithUncertainty(SpecificChargeOf(row), std::nullopt, "C/kg").c_str());
  }
  const SeriesResult result = *EvaluateSeries(parse.rows);
  std::printf("e/m = %s\n",
              ValueWithUncertainty(result.specific_charge, result.uncertainty, "C/kg").c_str());
  return 0;
}
