// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/evaluation.h"

#include <cmath>

#include "measurement/constants.h"

namespace varek {

namespace {
constexpr double EightPiSquared = 8 * std::numbers::pi * std::numbers::pi;

double Square(double x) { return x * x; }
}  // namespace

double FieldOf(double current) { return MagneticConstant * TurnsOfCoil * current / LengthOfCoil; }

double SpecificChargeOf(const Measurement& row) {
  return EightPiSquared * Square(row.order) * row.voltage /
         (Square(FieldOf(row.current)) * Square(PlatesToScreen));
}

std::optional<SeriesResult> EvaluateSeries(std::span<const Measurement> rows) {
  if (rows.empty()) return std::nullopt;
  // x = k^2 U, y = I^2; slope of the line through the origin a = sum xy / sum x^2.
  double sum_xx = 0, sum_xy = 0;
  for (const Measurement& row : rows) {
    const double x = Square(row.order) * row.voltage;
    sum_xx += x * x;
    sum_xy += x * Square(row.current);
  }
  SeriesResult result;
  result.slope = sum_xy / sum_xx;
  result.specific_charge = EightPiSquared * Square(LengthOfCoil) /
                           (Square(MagneticConstant * TurnsOfCoil * PlatesToScreen) * result.slope);
  result.deviation_percent =
      (result.specific_charge - LiteratureSpecificCharge) / LiteratureSpecificCharge * 100;
  if (rows.size() >= 2) {
    // Standard error of the slope: s_a^2 = sum (y - a x)^2 / ((N - 1) sum x^2);
    // e/m is proportional to 1/a, so u(e/m) = e/m * s_a / a.
    double residuals = 0;
    for (const Measurement& row : rows) {
      residuals += Square(Square(row.current) - result.slope * Square(row.order) * row.voltage);
    }
    const double slope_error =
        std::sqrt(residuals / ((static_cast<double>(rows.size()) - 1) * sum_xx));
    result.uncertainty = result.specific_charge * slope_error / result.slope;
  }
  return result;
}

}  // namespace varek
