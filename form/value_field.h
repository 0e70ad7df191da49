// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The field beside a scroll bar as a field that takes a typed value
// (measurement/typed_value.h): its range, unit and scale from the slider.
#pragma once

#include "form/control.h"
#include "measurement/typed_value.h"

namespace varek::form {

ValueField TypedField(const Slider& slider);

}  // namespace varek::form
