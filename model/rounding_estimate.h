// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// RoundEven decided by a double estimate where that is safe: a value that is
// rounded to an integer at once (a turned point, a projected pixel) is first
// estimated in doubles. Where the estimate lies at least ClearOfHalf from a
// half, and both it and the extended computation lie within a quarter of that
// of the exact value, both round to the same integer; the callers bound their
// operands so that the estimate's error stays below 2^-24 (the extended
// computation's is far smaller). Near a half the extended computation decides,
// as it always did, so every result is the one it gives.
#pragma once

#include <cstdint>
#include <optional>

namespace varek {

inline constexpr double ClearOfHalf = 1.0 / 65536;

// The integer nearest to `estimate` (|estimate| < 2^30) where it lies clear of a half.
inline std::optional<std::int32_t> RoundClearOfHalf(double estimate) {
  // Truncation after adding a half picks the nearest integer except near a
  // half, which the exact difference below turns away in any case.
  const auto nearest = static_cast<std::int32_t>(estimate < 0 ? estimate - 0.5 : estimate + 0.5);
  const double off = estimate - static_cast<double>(nearest);
  if (off > 0.5 - ClearOfHalf || off < ClearOfHalf - 0.5) return std::nullopt;
  return nearest;
}

}  // namespace varek
