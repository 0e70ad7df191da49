// The apparatus and the physics of the evaluation, each value once with its unit.
#pragma once

#include <numbers>

namespace varek {

inline constexpr double CoilTurns = 2000;        // n, turns of the coil
inline constexpr double CoilLength = 0.4;        // L, m
inline constexpr double PlateToScreen = 0.095;   // s, m, middle of the deflection plates to the screen
inline constexpr double MagneticConstant = 4e-7 * std::numbers::pi;  // mu0, V*s/(A*m)
inline constexpr double LiteratureSpecificCharge = 1.75882e11;      // e/m, C/kg

// Ranges of what a measurement can be: the window's controls and focus orders.
inline constexpr double LowestVoltage = 50;     // V
inline constexpr double HighestVoltage = 2000;  // V
inline constexpr double HighestCurrent = 3;     // A
inline constexpr int HighestOrder = 4;          // k, turns of the helix to the screen
inline constexpr int HighestAmplitude = 300;    // deflection amplitude, scale of the model

}  // namespace varek
