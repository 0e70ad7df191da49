// The sines and cosines of the angles the model turns by, for builds whose
// Extended is SoftExtended. The rows are made by the native build
// (varek-angle-table) with the x87 sinl and cosl and compiled in as a
// generated source; they are sorted by the bit pattern of the angle.
#pragma once

#include "model/soft_extended.h"

namespace varek {

struct AngleTableRow {
  SoftExtended::Bits angle, sine, cosine;
};

extern const AngleTableRow AngleTable[];
extern const int AngleTableSize;

// Orders bit patterns as the table is sorted: sign and exponent, then significand.
constexpr bool BitsBefore(const SoftExtended::Bits& a, const SoftExtended::Bits& b) {
  return a.sign_exponent != b.sign_exponent ? a.sign_exponent < b.sign_exponent
                                            : a.significand < b.significand;
}

}  // namespace varek
