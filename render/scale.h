// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn at a scale k >= 1: k device pixels per picture pixel. A
// picture pixel p covers [k p, k (p + 1)) of the device; figures are placed
// where their exact picture coordinates land, then rounded.
#pragma once

#include <algorithm>

#include "model/extended.h"

namespace varek {

// The device length of `length` picture pixels, never less than at k = 1.
inline int ScaledLength(int length, Extended scale) {
  return std::max(length, RoundEven(scale * length));
}

// The device pixel whose centre lies nearest to the centre of the picture
// pixel at the exact coordinate x: r(k (x + 1/2) - 1/2), rounded half to even
// and kept within int. At k = 1 this is r(x).
inline int ScaledPixel(Extended x, Extended scale) {
  const Extended half = Extended(1) / 2;
  const Extended limit = 2147483000;  // reached only by points the scene never holds
  Extended at = scale * (x + half) - half;
  if (at > limit) at = limit;
  if (at < -limit) at = -limit;
  return RoundEven(at);
}

}  // namespace varek
