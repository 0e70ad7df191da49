// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the protocol, shared by the window and the PDF page.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <span>

#include "measurement/evaluation.h"

namespace varek {

// Column titles and the cells of row `number` (from 1).
QStringList ProtocolColumnTitles();
QStringList ProtocolCells(int number, const Measurement& row);

// "e/m = 1,7683e11 C/kg ± 0,0021e11 C/kg", the deviation from the literature
// value, or a hint while there are no rows.
QString ProtocolResultText(const std::optional<SeriesResult>& result);

// One line per row whose amplitude does not suit its voltage; empty if none.
QString ProtocolWarningText(std::span<const Measurement> rows);

}  // namespace varek
