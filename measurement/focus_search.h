// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The coil current of a focus, found with a model of its own (never the
// window's) as a student finds it:
// deflection on with an alternating voltage, and the current raised until the
// end marks of the two paths meet.
#pragma once

#include <optional>

namespace varek {

// The k-th focus current of the ideal apparatus, mA:
// I_k = k * sqrt(8 pi^2 U / (e/m)) * L / (s mu0 n).
double TheoreticalFocusCurrent(double voltage, int order);

// Square of the distance, in scene units, between the end marks (the last
// stored samples) of the two paths at `current` mA; nothing when the
// electrons do not reach the screen (they hit a plate or the tube wall).
std::optional<long> EndMarkDistanceSquared(int voltage, int current, int amplitude);

// The whole currents in mA at which the end marks lie closest together: a
// range a few mA wide, where the marks are one dot. A student reads its
// middle.
struct FocusRange {
  int lowest = 0, highest = 0;
  int Middle() const { return lowest + (highest - lowest) / 2; }  // the lower of two
  friend bool operator==(const FocusRange&, const FocusRange&) = default;
};

// The focus range around the k-th focus, within 0..3000 mA; nothing when no
// current near it brings the electrons to the screen, or the focus lies
// beyond 3000 mA.
std::optional<FocusRange> FindFocusRange(int voltage, int order, int amplitude);
// Its middle.
std::optional<int> FindFocusCurrent(int voltage, int order, int amplitude);

// The same by trying every current from `lowest` to `highest` mA: slow, for
// checking the search.
std::optional<FocusRange> ScanFocusRange(int voltage, int amplitude, int lowest, int highest);

}  // namespace varek
