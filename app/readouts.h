// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the numeric readouts.
#pragma once

#include <QString>

#include "form/control.h"

namespace varek {

// Decimal digits, a leading minus for negative values, no grouping.
QString IntegerText(int value);

// The coil current in A for a position in mA: position / 1000 in extended
// precision, general format (at most 15 significant digits, no trailing zeros,
// no separator for whole numbers) with the decimal separator of the default
// locale: 0, 0.001, 1.5, 3 (0,001 and 1,5 in a German locale).
QString CoilCurrentText(int milliamperes);

// A scroll bar's position in its readout's format.
QString ReadoutText(form::ValueFormat format, int position);

}  // namespace varek
