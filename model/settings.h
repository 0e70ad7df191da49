// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every setting of one computation and one picture, as one value.
//
// The window derives a Settings from its controls; tools, tests and the
// browser construct one. A computation takes a copy when it starts, so both
// paths of one computation always belong to the same settings.
#pragma once

namespace varek {

struct Range {
  int lowest;
  int highest;
  constexpr bool Contains(int value) const { return value >= lowest && value <= highest; }
};

inline constexpr Range VoltageRange{50, 2000};  // V
inline constexpr Range CurrentRange{0, 3000};   // mA
inline constexpr Range AmplitudeRange{0, 300};
inline constexpr Range TurnAxisRange{-180, 180};    // degrees
inline constexpr Range TurnVerticalRange{-180, 0};  // degrees
inline constexpr Range PathWidthRange{1, 2};        // pixels

struct Settings {
  // What the paths depend on.
  int voltage = 1200;          // V, accelerating voltage
  int current = 0;             // mA, coil current
  int amplitude = 200;         // deflection amplitude
  bool deflection_on = false;  // "Ein" (otherwise "Aus")
  bool steady = true;          // "Gleichspannung": one path; "Wechselspannung": two
  // What only the picture depends on.
  int turn_axis = 5;                // degrees about the tube axis
  int turn_vertical = -25;          // degrees about the vertical axis
  bool coil_visible = false;        // "Spule sichtbar"
  bool screen_transparent = false;  // "Schirm durchsichtig"
  int path_width = 1;               // pen width of the paths

  friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace varek
