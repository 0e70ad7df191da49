// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation of a focusing series.
//
// At the k-th focus the electrons make k whole turns of their helix between
// the plates and the screen: k * 2 pi / ((e/m) B) = s / v with v = sqrt(2 (e/m) U),
// so  e/m = 8 pi^2 k^2 U / (B^2 s^2),  B = mu0 n I / L.
// Hence I^2 = a * k^2 U with the slope a = 8 pi^2 L^2 / ((e/m) mu0^2 n^2 s^2):
// the series is fitted by the least-squares line through the origin of I^2
// over k^2 U, and e/m follows from its slope.
//
// A student reads the current as the middle of a range where the two marks
// look like one dot; half that range is the reading uncertainty dI of the
// row. With dI given for every row the fit is weighted, 1 / sigma^2 with
// sigma = 2 I dI the uncertainty of I^2. The slope's uncertainty is then
// that of the readings, 1 / sqrt(sum x^2 / sigma^2), scaled by
// sqrt(chi^2 / (N - 1)) where the rows scatter more than their dI explain
// (the scale factor tables of measured constants use). Without dI every
// row weighs alike and the uncertainty comes from the scatter alone.
#pragma once

#include <optional>
#include <span>

namespace varek {

// The deflection voltage of a recorded row; not known for an imported one.
enum class Deflection { Unknown, Steady, Alternating };

// Whether a row counts in the result ("in Auswertung"): unless the user
// chose, a row marked as an outlier is left out.
enum class Inclusion { Automatic, In, Out };

struct Measurement {
  double voltage = 0;            // U, V
  double current = 0;            // I, A
  int order = 1;                 // k, 1..4
  std::optional<int> amplitude;  // deflection amplitude when it was recorded; unknown for imports
  Deflection deflection = Deflection::Unknown;
  std::optional<double> reading_uncertainty = std::nullopt;  // dI, A; not given
  Inclusion inclusion = Inclusion::Automatic;
  friend bool operator==(const Measurement&, const Measurement&) = default;
};

// B = mu0 n I / L, in T.
double FieldOf(double current);
// e/m of one row, C/kg.
double SpecificChargeOf(const Measurement& row);

struct SeriesResult {
  double slope = 0;            // a of I^2 = a k^2 U, A^2/V
  double specific_charge = 0;  // e/m, C/kg
  // Standard uncertainty of e/m, C/kg; none for one row without dI, nor for
  // rows without dI that do not scatter.
  std::optional<double> uncertainty;
  double deviation_percent = 0;      // (e/m - literature) / literature * 100
  bool reading_uncertainty = false;  // weighted with every row's dI
  double scatter_factor = 1;         // sqrt(chi^2 / (N - 1)) where it scaled, else 1
  // Rows without dI exactly on the line: the scatter gives no uncertainty.
  bool without_scatter = false;
  // The deviation in units of the uncertainty; none without one.
  std::optional<double> DeviationInSigma() const;
};

// Whether a row has a reading uncertainty to weigh it with.
bool HasReadingUncertainty(const Measurement& row);

// The fit of the rows; nothing for no rows.
std::optional<SeriesResult> EvaluateSeries(std::span<const Measurement> rows);

}  // namespace varek
