// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The sines and cosines of the angles the model turns by, for builds whose
// Extended is SoftExtended. The rows are made by the native build
// (varek-angle-table) with the x87 sinl and cosl and compiled in as a
// generated source; they are sorted by the bit pattern of the angle.
#pragma once

#include <cstdint>

#include "model/soft_extended.h"

namespace varek {

// The three 80-bit values as significands and sign-and-exponent fields, 32
// bytes a row rather than 48 (the table is most of the browser module).
struct AngleTableRow {
  std::uint64_t angle, sine, cosine;
  std::uint16_t angle_exponent, sine_exponent, cosine_exponent;

  constexpr SoftExtended::Bits Angle() const { return {angle, angle_exponent}; }
  constexpr SoftExtended::Bits Sine() const { return {sine, sine_exponent}; }
  constexpr SoftExtended::Bits Cosine() const { return {cosine, cosine_exponent}; }
};

extern const AngleTableRow AngleTable[];
extern const int AngleTableSize;

// Orders bit patterns as the table is sorted: sign and exponent, then significand.
constexpr bool BitsBefore(const SoftExtended::Bits& a, const SoftExtended::Bits& b) {
  return a.sign_exponent != b.sign_exponent ? a.sign_exponent < b.sign_exponent
                                            : a.significand < b.significand;
}

}  // namespace varek
