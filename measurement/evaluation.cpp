// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/evaluation.h"

#include <algorithm>
#include <cmath>

#include "measurement/constants.h"

namespace varek {

namespace {
constexpr double EightPiSquared = 8 * std::numbers::pi * std::numbers::pi;

double Square(double x) { return x * x; }

// The relative scatter of the slope below which rows count as having none.
constexpr double NoScatter = 1e-9;
}  // namespace

double FieldOf(double current) { return MagneticConstant * TurnsOfCoil * current / LengthOfCoil; }

double SpecificChargeOf(const Measurement& row) {
  return EightPiSquared * Square(row.order) * row.voltage /
         (Square(FieldOf(row.current)) * Square(PlatesToScreen));
}

bool HasReadingUncertainty(const Measurement& row) {
  return row.reading_uncertainty && *row.reading_uncertainty > 0;
}

std::optional<double> SeriesResult::DeviationInSigma() const {
  if (!uncertainty || !(*uncertainty > 0)) return std::nullopt;
  return (specific_charge - LiteratureSpecificCharge) / *uncertainty;
}

std::optional<SeriesResult> EvaluateSeries(std::span<const Measurement> rows) {
  if (rows.empty()) return std::nullopt;
  SeriesResult result;
  result.reading_uncertainty = std::all_of(rows.begin(), rows.end(), HasReadingUncertainty);
  // x = k^2 U, y = I^2, weight w = 1 / sigma_y^2 (1 without dI); slope of
  // the line through the origin a = sum wxy / sum wx^2.
  const auto weight = [&](const Measurement& row) {
    return result.reading_uncertainty ? 1 / Square(2 * row.current * *row.reading_uncertainty)
                                      : 1.0;
  };
  double sum_wxx = 0, sum_wxy = 0;
  for (const Measurement& row : rows) {
    const double x = Square(row.order) * row.voltage;
    sum_wxx += weight(row) * x * x;
    sum_wxy += weight(row) * x * Square(row.current);
  }
  result.slope = sum_wxy / sum_wxx;
  result.specific_charge = EightPiSquared * Square(LengthOfCoil) /
                           (Square(MagneticConstant * TurnsOfCoil * PlatesToScreen) * result.slope);
  result.deviation_percent =
      (result.specific_charge - LiteratureSpecificCharge) / LiteratureSpecificCharge * 100;
  // The slope's variance from the weights: 1 / sum wx^2; from the scatter:
  // chi^2 / ((N - 1) sum wx^2), which for w = 1 is the standard error of an
  // unweighted fit.
  double slope_variance = 1 / sum_wxx;
  if (rows.size() >= 2) {
    double chi_squared = 0;
    for (const Measurement& row : rows) {
      chi_squared += weight(row) *
                     Square(Square(row.current) - result.slope * Square(row.order) * row.voltage);
    }
    const double ratio = chi_squared / (static_cast<double>(rows.size()) - 1);
    if (!result.reading_uncertainty || ratio > 1) slope_variance *= ratio;
    if (result.reading_uncertainty && ratio > 1) result.scatter_factor = std::sqrt(ratio);
  } else if (!result.reading_uncertainty) {
    return result;
  }
  // e/m is proportional to 1/a, so u(e/m) = e/m * s_a / a.
  const double relative = std::sqrt(slope_variance) / result.slope;
  // Rows without dI that lie on the line to the last bit (the same reading
  // taken twice) leave only rounding noise as their scatter: no currents
  // read to a milliampere scatter this little, and a noise-sized uncertainty
  // would call every deviation thousands of sigma.
  if (!result.reading_uncertainty && relative < NoScatter) {
    result.without_scatter = true;
    return result;
  }
  result.uncertainty = result.specific_charge * relative;
  return result;
}

}  // namespace varek
