// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement table as text, in two forms. Both: UTF-8 (one byte-order
// mark is accepted, measurement/table_bytes.h), ';' between fields, decimal
// comma, hyphen-minus, LF or CRLF line ends, empty lines at the end ignored,
// at most MaxTableRows rows.
//
// The exchange file ("CSV exportieren", "CSV importieren", varek-auswertung),
// which spreadsheets open:
//   U in V;I in A;k;Amplitude;Ablenkung;ΔI in A;in Auswertung
//   1200;1,230;1;200;Wechselspannung;0,012;
// The store, the program's own table (a file in the user's data folder; the
// browser's storage), has each row's identity first:
//   Kennung;U in V;I in A;k;Amplitude;Ablenkung;ΔI in A;in Auswertung
//   5f0c2a91d3e4b768;1200;1,230;1;200;Wechselspannung;0,012;
// Columns are found by their titles, in any order; U, I and k must be there,
// the others may be missing (an empty field or a missing column: not known).
// So the earlier forms "U in V;I in A;k", "U in V;I in A;k;Amplitude" and the
// store's "Kennung;U in V;I in A;k;Amplitude;Ablenkung" read as they did. A
// store without identities names its rows after their lines, "z2", "z3", …,
// the same in every copy. The program writes every column, currents and ΔI
// with at least three decimals.
// An exchange file may also be in the store's form, the one it has now or
// "Kennung;U in V;I in A;k;Amplitude;Ablenkung" (a store kept aside is
// opened again that way); the identities are then only checked.
//
// A file in the exchange form is read up to MaxTableBytes: a guard against
// foreign files. The program's own form is read up to MaxStoreBytes, which
// MaxTableRows rows never reach, so whatever the program writes it reads back.
//
// Every field is checked: numbers as measurement/decimal_reading.h reads
// them, U 50…2000 V, I 0,001…3 A, k a whole number 1…4, the amplitude a whole
// number 1…300, ΔI 0,0001…0,3 A, the deflection "Gleichspannung" or
// "Wechselspannung", "in Auswertung" "ja" (taken in by hand) or "nein" (left
// out by hand), and each row's e/m within 1e9…1e13 C/kg.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/protocol_table.h"

namespace varek {

// Far above any class's table; the same for reading and for every change.
inline constexpr std::size_t MaxTableRows = 50000;
// Far above any class's table (a row takes about 16 bytes).
inline constexpr std::size_t MaxTableBytes = 1000000;
// Above MaxTableRows rows of the store's longest form (at most about 120
// bytes a row).
inline constexpr std::size_t MaxStoreBytes = 8000000;
// Bad lines named one by one; the rest are counted.
inline constexpr std::size_t MaxNamedProblems = 3;

enum class TableForm { Exchange, Store };

// What is wrong with a line (1 = header; 0 = the text as a whole), in German.
struct CsvProblem {
  int line = 0;
  std::string reason;
  std::string Message() const;  // "Zeile 3: I = „abc“ ist keine Zahl (erwartet z. B. 1,23)"
};

struct TableRead {
  ProtocolTable rows;                // every good row; exchange rows have no identity
  std::vector<CsvProblem> problems;  // the first MaxNamedProblems
  int bad_lines = 0;                 // every line that was passed over
  bool refused_whole = false;        // the header, the size or emptiness refused every line
  bool Clean() const { return problems.empty(); }
  // The first problem, and how many more lines are bad: for a refusal.
  std::string Summary() const;
};

// `bytes` as read from a file or the browser's storage.
TableRead ReadTable(std::string_view bytes, TableForm form);
// "50003 Zeilen sind mehr als die 50000, die das Protokoll fasst": for a
// table, or a change, that would pass MaxTableRows.
std::string TooManyRowsReason(std::size_t rows);
std::string WriteTable(const ProtocolTable& rows, TableForm form);
// One row's line of WriteTable, with its line end, added to `text`.
void AppendRowLine(std::string& text, const ProtocolRow& row, TableForm form);

}  // namespace varek
