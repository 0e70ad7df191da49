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
#pragma once

#include <optional>
#include <span>

namespace varek {

// The deflection voltage of a recorded row; not known for an imported one.
enum class Deflection { Unknown, Steady, Alternating };

struct Measurement {
  double voltage = 0;            // U, V
  double current = 0;            // I, A
  int order = 1;                 // k, 1..4
  std::optional<int> amplitude;  // deflection amplitude when it was recorded; unknown for imports
  Deflection deflection = Deflection::Unknown;
  friend bool operator==(const Measurement&, const Measurement&) = default;
};

// B = mu0 n I / L, in T.
double FieldOf(double current);
// e/m of one row, C/kg.
double SpecificChargeOf(const Measurement& row);

struct SeriesResult {
  double slope = 0;                   // a of I^2 = a k^2 U, A^2/V
  double specific_charge = 0;         // e/m, C/kg
  std::optional<double> uncertainty;  // standard uncertainty of e/m, C/kg; none for one row
  double deviation_percent = 0;       // (e/m - literature) / literature * 100
};

// The fit of the rows; nothing for no rows.
std::optional<SeriesResult> EvaluateSeries(std::span<const Measurement> rows);

}  // namespace varek
