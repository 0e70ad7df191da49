// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Sin and Cos of the software extended type: a look-up in the angle table.
#include "model/angle_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "model/extended.h"

namespace varek {

namespace {

const AngleTableRow& RowFor(const Extended& angle) {
  const SoftExtended::Bits bits = angle.ToBits();
  const AngleTableRow* end = AngleTable + AngleTableSize;
  const AngleTableRow* row = std::lower_bound(
      AngleTable, end, bits,
      [](const AngleTableRow& r, const SoftExtended::Bits& b) { return BitsBefore(r.Angle(), b); });
  if (row == end || !(row->Angle() == bits)) {
    std::fprintf(stderr,
                 "varek: no sine and cosine in the angle table for %.17g (bits %04x:%016llx)\n",
                 static_cast<double>(angle), bits.sign_exponent,
                 static_cast<unsigned long long>(bits.significand));
    std::abort();
  }
  return *row;
}

}  // namespace

Extended Sin(const Extended& angle) { return SoftExtended::FromBits(RowFor(angle).Sine()); }
Extended Cos(const Extended& angle) { return SoftExtended::FromBits(RowFor(angle).Cosine()); }

}  // namespace varek
