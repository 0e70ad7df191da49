// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation's constants. The apparatus (n = 2000 turns, L = 0.4 m,
// s = 0.095 m) and the ranges of the settings are the model's own
// (model/constants.h, model/settings.h); here are the values a student
// evaluates with, as the data page states them.
#pragma once

#include <numbers>

#include "model/constants.h"
#include "model/settings.h"

namespace varek {

// mu0 = 4 pi 1e-7 V*s/(A*m) exactly; the model integrates with 1.256637061e-6,
// 3.5e-10 smaller in relative terms, far below any measured difference.
inline constexpr double MagneticConstant = 4e-7 * std::numbers::pi;
inline constexpr double LiteratureSpecificCharge = 1.75882e11;  // e/m, C/kg

// The apparatus in double precision.
inline constexpr double TurnsOfCoil = CoilTurns;                          // n
inline constexpr double LengthOfCoil = static_cast<double>(CoilLength);   // L, m
inline constexpr double PlatesToScreen = static_cast<double>(PlateToScreen);  // s, m

// What a measurement can be: the ranges of the controls, and focus orders 1..4.
inline constexpr double LowestVoltage = VoltageRange.lowest;    // V
inline constexpr double HighestVoltage = VoltageRange.highest;  // V
inline constexpr double HighestCurrent =
    CurrentRange.highest / static_cast<double>(MilliampsPerAmp);  // A
inline constexpr int HighestOrder = 4;                              // k
inline constexpr int HighestAmplitude = AmplitudeRange.highest;

}  // namespace varek
