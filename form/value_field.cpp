// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/value_field.h"

namespace varek::form {

ValueField TypedField(const Slider& slider) {
  return {.minimum = slider.range.minimum,
          .maximum = slider.range.maximum,
          .per_unit = slider.format == ValueFormat::Thousandths ? 1000 : 1,
          .sign = slider.format == ValueFormat::NegatedInteger ? -1 : 1,
          .unit = slider.unit};
}

}  // namespace varek::form
