// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the deflection amplitude of a recorded row lets the focus be read well.
//
// Measured with the model (first focus, found by the focus search):
// - Between the plates the electrons are pushed sideways by
//   y = 0.0162 m * amplitude / U (V) until x = -0.0393 m; above
//   amplitude / U = 0.26 they enter a plate and no mark reaches the screen.
//   Just below that they graze the plates and the focus jumps (300 V: 629 mA
//   at amplitude 80 against 615 at 78; 700 V: 952 at 185 against 939 at 180).
//   Below amplitude / U = 0.25 a larger amplitude moves the focus by 0.5 % at
//   most (300 V: 612 mA at amplitude 15, 615 at 75; 1200 V: 1225 at 60, 1231 at 300).
// - Small amplitudes are the real trap: the end marks are whole scene units
//   apart, and below amplitude / U = 0.05 they lie on each other over a wide
//   range of currents, so the lowest current that looks focused is too low by
//   1 to 10 % (1200 V amplitude 24: 1214 mA; 2000 V amplitude 40: 1565 mA
//   against 1586 with amplitude 300).
#pragma once

namespace varek {

enum class AmplitudeAdvice {
  Fine,
  TooSmall,    // amplitude / U below 0.05: the focus is blurred over many mA
  NearPlates,  // amplitude / U above 0.25: the electrons graze or hit the plates
};

AmplitudeAdvice AdviceFor(double voltage, int amplitude);

}  // namespace varek
