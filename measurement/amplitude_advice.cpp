// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/amplitude_advice.h"

namespace varek {

namespace {
constexpr double SmallestRatio = 0.05;  // amplitude per volt, see the header
constexpr double LargestRatio = 0.25;
}  // namespace

AmplitudeAdvice AdviceFor(double voltage, int amplitude) {
  const double ratio = amplitude / voltage;
  if (ratio < SmallestRatio) return AmplitudeAdvice::TooSmall;
  if (ratio > LargestRatio) return AmplitudeAdvice::NearPlates;
  return AmplitudeAdvice::Fine;
}

}  // namespace varek
