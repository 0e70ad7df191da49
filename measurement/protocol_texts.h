// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of a measurement table: column titles, the cells of a row,
// the series result and the amplitude warnings. The desktop window, its PDF
// page and the browser page all show these.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "measurement/evaluation.h"

namespace varek {

// "Nr.", "U in V", "I in A", "k", "Amplitude", "B in mT", "e/m in 10¹¹ C/kg".
std::vector<std::string> TableColumnTitles();
// The cells of row `number` (from 1), in the order of the titles.
std::vector<std::string> TableRowCells(int number, const Measurement& row);

// "e/m = 1,7683e11 C/kg ± 0,0021e11 C/kg", a line with the deviation from the
// literature value, or a hint while there are no rows.
std::string SeriesResultText(const std::optional<SeriesResult>& result);

// One line per row whose amplitude does not suit its voltage; empty if none.
std::string AmplitudeWarningText(std::span<const Measurement> rows);

}  // namespace varek
