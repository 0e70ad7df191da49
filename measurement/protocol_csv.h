// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement table as a CSV file that spreadsheets open and the tools read:
// UTF-8 (a byte-order mark is accepted), ';' between fields, decimal comma,
// LF or CRLF line ends, the header line "U in V;I in A;k", then one row per
// measurement, e.g. "1200;1,23;1".
//
// The window keeps its own table in the same form with a fourth column,
// "U in V;I in A;k;Amplitude", so that the amplitude of every recorded row
// survives a restart.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/evaluation.h"

namespace varek {

enum class CsvColumns {
  Standard,       // U, I, k
  WithAmplitude,  // U, I, k, amplitude (empty: not known, e.g. an imported row)
};

// What is wrong with a file: the line (1 = header; 0 = the file as a whole) and why, in German.
struct CsvProblem {
  int line = 0;
  std::string reason;
  std::string Message() const;  // "Zeile 3: ..."
};

struct CsvParse {
  std::vector<Measurement> rows;     // empty when there is a problem
  std::optional<CsvProblem> problem;
};

// Refuses a file without rows, a field that is not a finite number, U outside
// 50..2000 V, I not above 0 or above 3 A, k not a whole number 1..4, an
// amplitude not a whole number 0..300, a missing or an extra field. Empty lines
// at the end of the file are ignored.
CsvParse ParseProtocolCsv(std::string_view text, CsvColumns columns = CsvColumns::Standard);

std::string WriteProtocolCsv(std::span<const Measurement> rows,
                             CsvColumns columns = CsvColumns::Standard);

}  // namespace varek
