// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/value_field.h"

namespace varek::form {

namespace {

int PerUnit(int decimals) {
  int per_unit = 1;
  for (int i = 0; i < decimals; ++i) per_unit *= 10;
  return per_unit;
}

}  // namespace

ValueField TypedField(const Slider& slider) {
  return {.minimum = slider.range.minimum,
          .maximum = slider.range.maximum,
          .per_unit = PerUnit(slider.format.decimals),
          .sign = slider.format.negated ? -1 : 1,
          .unit = slider.format.unit};
}

}  // namespace varek::form
