// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_texts.h"

#include "measurement/amplitude_advice.h"
#include "measurement/constants.h"
#include "measurement/decimal_text.h"

namespace varek {

std::vector<std::string> TableColumnTitles() {
  return {"Nr.", "U in V", "I in A", "k", "Amplitude", "B in mT", "e/m in 10\u00b9\u00b9 C/kg"};
}

std::vector<std::string> TableRowCells(int number, const Measurement& row) {
  return {std::to_string(number),
          DecimalText(row.voltage),
          FixedText(row.current, 3),
          std::to_string(row.order),
          row.amplitude ? std::to_string(*row.amplitude) : std::string("\u2013"),
          FixedText(FieldOf(row.current) * 1e3, 3),
          FixedText(SpecificChargeOf(row) / 1e11, 4)};
}

std::string SeriesResultText(const std::optional<SeriesResult>& result) {
  if (!result) {
    return "Noch keine Messwerte: Fokus einstellen, dann \u201EMesswert übernehmen\u201C.";
  }
  std::string text = "e/m = " + ValueWithUncertainty(result->specific_charge, result->uncertainty, "C/kg");
  if (!result->uncertainty) text += " (ein Messwert: keine Unsicherheit)";
  const std::string sign = result->deviation_percent >= 0 ? "+" : "";
  text += "\nAbweichung vom Literaturwert " +
          ValueWithUncertainty(LiteratureSpecificCharge, std::nullopt, "C/kg", 6) + ": " + sign +
          FixedText(result->deviation_percent, 2) + " %";
  return text;
}

std::string AmplitudeWarningText(std::span<const Measurement> rows) {
  std::string lines;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].amplitude) continue;
    const std::string where = "Zeile " + std::to_string(i + 1) + ": Amplitude " +
                              std::to_string(*rows[i].amplitude) + " bei " +
                              DecimalText(rows[i].voltage) + " V";
    std::string line;
    switch (AdviceFor(rows[i].voltage, *rows[i].amplitude)) {
      case AmplitudeAdvice::Fine:
        continue;
      case AmplitudeAdvice::NearPlates:
        line = where + " ist zu groß: die Elektronen streifen die Ablenkplatten, "
                       "der Fokus verschiebt sich oder fehlt.";
        break;
      case AmplitudeAdvice::TooSmall:
        line = where + " ist zu klein: die Marken liegen über viele mA "
                       "aufeinander, der Strom ist unsicher.";
        break;
    }
    if (!lines.empty()) lines += '\n';
    lines += line;
  }
  return lines;
}

}  // namespace varek
