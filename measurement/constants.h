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
inline constexpr double TurnsOfCoil = CoilTurns;                              // n
inline constexpr double LengthOfCoil = static_cast<double>(CoilLength);       // L, m
inline constexpr double PlatesToScreen = static_cast<double>(PlateToScreen);  // s, m

// What a measurement can be: the ranges of the controls, and focus orders
// 1..4. The coil current starts at one step of its scroll bar, 1 mA: at 0 A
// there is no focus. The amplitude starts at 1: at 0 the beam flies straight.
inline constexpr double LowestVoltage = VoltageRange.lowest;                       // V
inline constexpr double HighestVoltage = VoltageRange.highest;                     // V
inline constexpr double LowestCurrent = 1 / static_cast<double>(MilliampsPerAmp);  // A
inline constexpr double HighestCurrent =
    CurrentRange.highest / static_cast<double>(MilliampsPerAmp);  // A
inline constexpr int HighestOrder = 4;                            // k
// The reading uncertainty ΔI: a tenth of the current's range at most.
inline constexpr double LowestReadingUncertainty = LowestCurrent / 10;    // A
inline constexpr double HighestReadingUncertainty = HighestCurrent / 10;  // A
inline constexpr int LowestAmplitude = 1;
inline constexpr int HighestAmplitude = AmplitudeRange.highest;

// A row whose e/m lies outside these bounds shows no focus at all (the
// literature value is 1.76e11 C/kg; a real focus misses it by a few per cent).
inline constexpr double LowestPlausibleSpecificCharge = 1e9;    // C/kg
inline constexpr double HighestPlausibleSpecificCharge = 1e13;  // C/kg

}  // namespace varek
