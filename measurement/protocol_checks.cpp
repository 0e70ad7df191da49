// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_checks.h"

#include <algorithm>
#include <cmath>

#include "measurement/captions.h"
#include "measurement/constants.h"
#include "measurement/decimal_text.h"
#include "measurement/reading_hints.h"

namespace varek {

namespace {

constexpr double SmallSeriesLimit = 0.05;   // relative, with two or three rows
constexpr double StandardDeviations = 3;    // with four rows or more
constexpr double LeastSpread = 0.005;       // relative, see the header
constexpr std::size_t FewestForSpread = 4;  // rows

double Square(double x) { return x * x; }

}  // namespace

std::optional<std::string> ImplausibleRow(const Measurement& row) {
  const double specific_charge = SpecificChargeOf(row);
  if (std::isfinite(specific_charge) && specific_charge >= LowestPlausibleSpecificCharge &&
      specific_charge <= HighestPlausibleSpecificCharge) {
    return std::nullopt;
  }
  const std::string value = std::isfinite(specific_charge)
                                ? SchoolNotation(specific_charge, std::nullopt, "C/kg", 2)
                                : std::string("unendlich");
  return "e/m = " + value + " liegt außerhalb von " +
         PowerOfTenText(LowestPlausibleSpecificCharge) + " bis " +
         PowerOfTenText(HighestPlausibleSpecificCharge) + " C/kg";
}

bool Included(const Measurement& row, const OutlierMark& mark) {
  return row.inclusion == Inclusion::In ||
         (row.inclusion == Inclusion::Automatic && !mark.left_out);
}

ReadingCheck CheckReading(const Reading& reading) {
  const auto refuse = [](std::string sentence) {
    return ReadingCheck{std::nullopt, std::move(sentence)};
  };
  if (reading.information_shown) {
    return refuse("Die Informationsseite verdeckt die Apparatur: erst " +
                  Quoted(caption::Continue) + " drücken, dann messen.");
  }
  if (reading.data_shown) {
    return refuse("Die Seite " + Quoted(caption::DataPage) + " verdeckt die Einstellungen: erst " +
                  Quoted(caption::CloseDataPage) + " drücken, dann messen.");
  }
  if (reading.current <= 0) {
    return refuse(
        "Bei 0 A Spulenstrom gibt es keinen Fokus: den Spulenstrom erhöhen, bis sich die "
        "Marken in der Schirmmitte treffen.");
  }
  if (!reading.deflection_on) {
    return refuse("Ohne Ablenkspannung fliegt der Strahl gerade und zeigt keinen Fokus: bei " +
                  SwitchDeflectionOn());
  }
  if (reading.amplitude < LowestAmplitude) {
    return refuse(
        "Bei der Amplitude 0 fliegt der Strahl gerade und zeigt keinen Fokus: die "
        "Amplitude erhöhen.");
  }
  // No mark on the screen: the same sentence as the line under the settings.
  if (const std::optional<std::string> missed =
          NoMarkSentence({.voltage = reading.voltage,
                          .amplitude = reading.amplitude,
                          .deflection_on = reading.deflection_on,
                          .screen_hit = reading.screen_hit})) {
    return refuse(*missed);
  }
  if (reading.order < 1 || reading.order > HighestOrder) {
    return refuse("Die Fokusordnung k muss eine ganze Zahl von 1 bis 4 sein.");
  }
  if (reading.voltage < LowestVoltage || reading.voltage > HighestVoltage ||
      reading.current > CurrentRange.highest || reading.amplitude > HighestAmplitude ||
      reading.uncertainty < 0 ||
      reading.uncertainty > HighestReadingUncertainty * static_cast<double>(MilliampsPerAmp)) {
    return refuse("Die Einstellungen liegen außerhalb der Bereiche der Apparatur.");
  }
  std::optional<double> uncertainty;
  if (reading.uncertainty > 0)
    uncertainty = reading.uncertainty / static_cast<double>(MilliampsPerAmp);
  const Measurement row{static_cast<double>(reading.voltage),
                        reading.current / static_cast<double>(MilliampsPerAmp),
                        reading.order,
                        reading.amplitude,
                        reading.steady ? Deflection::Steady : Deflection::Alternating,
                        uncertainty};
  if (const std::optional<std::string> why = ImplausibleRow(row)) {
    return refuse("Bei diesen Einstellungen liegt kein Fokus (" + *why + ").");
  }
  return {row, {}};
}

std::vector<OutlierMark> OutlierMarks(std::span<const Measurement> rows) {
  const std::size_t n = rows.size();
  std::vector<OutlierMark> marks(n);
  if (n < 2) return marks;
  // Sums over all rows; each row's "others" are the sums less its own terms.
  // x = k^2 U, y = I^2; e/m in units of the literature value (about 1).
  std::vector<double> x(n), y(n), e(n);
  double sum_xx = 0, sum_xy = 0, sum_e = 0, sum_ee = 0;
  for (std::size_t i = 0; i < n; ++i) {
    x[i] = Square(rows[i].order) * rows[i].voltage;
    y[i] = Square(rows[i].current);
    e[i] = SpecificChargeOf(rows[i]) / LiteratureSpecificCharge;
    sum_xx += x[i] * x[i];
    sum_xy += x[i] * y[i];
    sum_e += e[i];
    sum_ee += e[i] * e[i];
  }
  // e/m of a fit with slope a, relative to row i's own: e/m is proportional
  // to 1/a, and row i alone has the slope y_i / x_i.
  for (std::size_t i = 0; i < n; ++i) {
    const double others_xx = sum_xx - x[i] * x[i];
    if (!(others_xx > 0)) continue;
    const double others_slope = (sum_xy - x[i] * y[i]) / others_xx;
    const double others_fit = e[i] * (y[i] / x[i]) / others_slope;
    const double distance = std::abs(e[i] - others_fit);
    marks[i].deviation_percent = (e[i] - others_fit) / others_fit * 100;
    if (n < FewestForSpread) {
      marks[i].marked = distance > SmallSeriesLimit * others_fit;
      continue;
    }
    const double m = static_cast<double>(n - 1);
    const double mean = (sum_e - e[i]) / m;
    const double variance = std::max(0.0, (sum_ee - e[i] * e[i] - m * mean * mean) / (m - 1));
    const double spread = std::max(std::sqrt(variance), LeastSpread * others_fit);
    marks[i].marked = distance > StandardDeviations * spread;
  }
  const auto marked = std::count_if(marks.begin(), marks.end(),
                                    [](const OutlierMark& mark) { return mark.marked; });
  if (n >= FewestForSpread && 2 * static_cast<std::size_t>(marked) < n) {
    for (OutlierMark& mark : marks) mark.left_out = mark.marked;
  }
  return marks;
}

}  // namespace varek
