// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the protocol takes: a reading is checked before it becomes a row, a
// row read from a file is checked the same way, and rows that disagree with
// the others are marked.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "measurement/evaluation.h"

namespace varek {

// The window's state at the moment "Messwert übernehmen" is pressed. The
// front end supplies these facts; the core decides.
struct Reading {
  int voltage = 0;    // V, as the scroll bar stands
  int current = 0;    // mA
  int amplitude = 0;  // deflection amplitude
  bool deflection_on = false;
  bool steady = true;              // Gleichspannung (true) or Wechselspannung
  int order = 1;                   // k, as chosen in the protocol
  int uncertainty = 0;             // ΔI in mA, as given in the protocol; 0: not given
  bool information_shown = false;  // the information page covers the window
  bool data_shown = false;         // the "Daten" page covers the settings
  bool screen_hit = true;          // a mark of the latest computation lies on the screen
};

// The row the reading gives, or one German sentence why it is refused.
struct ReadingCheck {
  std::optional<Measurement> row;
  std::string refusal;
};
ReadingCheck CheckReading(const Reading& reading);

// Why a row within the ranges of its fields still cannot be a focus: its
// e/m is outside 1e9..1e13 C/kg. Nothing for a plausible row.
std::optional<std::string> ImplausibleRow(const Measurement& row);

// Rows whose e/m lies far from the fit of all the other rows: with four
// rows or more, more than three standard deviations of the others' e/m
// values (taken as at least 0.5 % of their fit: readings at the same settings
// agree exactly, and one mA more must not make a row an outlier); with two
// or three rows, more than 5 %. One mark per row. A marked row is left out of
// the result only where the series can tell it from the rest: four rows or
// more, and fewer than half of them marked (two readings that disagree are
// both marked, and neither is known to be the wrong one).
struct OutlierMark {
  bool marked = false;
  bool left_out = false;         // marked, and left out unless taken in by hand
  double deviation_percent = 0;  // of the row's e/m from the fit of the others
};
std::vector<OutlierMark> OutlierMarks(std::span<const Measurement> rows);

// Whether a row counts in the result: as the user chose ("in Auswertung"),
// else unless it is an outlier left out.
bool Included(const Measurement& row, const OutlierMark& mark);

}  // namespace varek
