// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The functions that the page's measurement protocol calls: the evaluation,
// the CSV texts and the German texts of the table, all from the measurement
// module that the desktop window and the command-line tools use.
//
// The page keeps its table as text in the form of the desktop's store,
// "U in V;I in A;k;Amplitude" (measurement/protocol_csv.h); every function
// takes that text and returns a string that lives until the next call.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/amplitude_advice.h"
#include "measurement/constants.h"
#include "measurement/evaluation.h"
#include "measurement/portable_chars.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_texts.h"

namespace {

using varek::CsvColumns;
using varek::Measurement;

std::string answer;

const char* Answer(std::string text) {
  answer = std::move(text);
  return answer.c_str();
}

// The rows of the stored table; an empty text is an empty table.
varek::CsvParse StoredRows(std::string_view table) {
  if (table.empty()) return {};
  return varek::ParseProtocolCsv(table, CsvColumns::WithAmplitude);
}

std::string Stored(const std::vector<Measurement>& rows) {
  return rows.empty() ? std::string() : varek::WriteProtocolCsv(rows, CsvColumns::WithAmplitude);
}

std::string Json(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out + '"';
}

// Shortest round-trip digits; the values of valid rows are finite.
std::string Json(double value) { return varek::PortableShortest(value); }

std::string Json(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (const std::string& text : texts) out += (out.size() > 1 ? "," : "") + Json(text);
  return out + ']';
}

}  // namespace

extern "C" {

// {"titles", "cells": one array a row, "result", "warning", "slope": m of
// I^2 = m k^2 U or null, "points": [k^2 U, I^2] a row, "error": why the
// stored table cannot be read, or ""}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_view(const char* table) {
  const varek::CsvParse parse = StoredRows(table);
  const std::optional<varek::SeriesResult> result = varek::EvaluateSeries(parse.rows);
  std::string cells = "[", points = "[";
  for (std::size_t i = 0; i < parse.rows.size(); ++i) {
    const Measurement& row = parse.rows[i];
    const char* comma = i > 0 ? "," : "";
    cells += comma + Json(varek::TableRowCells(static_cast<int>(i) + 1, row));
    points += comma + ("[" + Json(row.order * row.order * row.voltage) + "," +
                       Json(row.current * row.current) + "]");
  }
  return Answer("{\"titles\":" + Json(varek::TableColumnTitles()) + ",\"cells\":" + cells +
                "],\"points\":" + points + "],\"result\":" + Json(varek::SeriesResultText(result)) +
                ",\"warning\":" + Json(varek::AmplitudeWarningText(parse.rows)) +
                ",\"slope\":" + (result ? Json(result->slope) : "null") + ",\"error\":" +
                Json(parse.problem ? parse.problem->Message() : "") + "}");
}

// The table with one more row: the settings in force (current in mA) and the focus order.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_record(const char* table, int voltage,
                                                      int milliamps, int amplitude, int order) {
  std::vector<Measurement> rows = StoredRows(table).rows;
  rows.push_back({static_cast<double>(voltage),
                  milliamps / static_cast<double>(varek::MilliampsPerAmp), order, amplitude});
  return Answer(Stored(rows));
}

// The table without row `index` (from 0).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_delete(const char* table, int index) {
  std::vector<Measurement> rows = StoredRows(table).rows;
  if (index >= 0 && index < static_cast<int>(rows.size())) rows.erase(rows.begin() + index);
  return Answer(Stored(rows));
}

// The CSV file of the table: "U in V;I in A;k", one line a row.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_export(const char* table) {
  return Answer(varek::WriteProtocolCsv(StoredRows(table).rows));
}

// {"table": the stored form of the file's rows} or {"error": "Zeile 3: …"}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_import(const char* csv) {
  const varek::CsvParse parse = varek::ParseProtocolCsv(csv);
  if (parse.problem) return Answer("{\"error\":" + Json(parse.problem->Message()) + "}");
  return Answer("{\"table\":" + Json(Stored(parse.rows)) + "}");
}

// 0: the amplitude suits the voltage; 1: too small; 2: the electrons graze the plates.
EMSCRIPTEN_KEEPALIVE int varek_protocol_advice(int voltage, int amplitude) {
  switch (varek::AdviceFor(voltage, amplitude)) {
    case varek::AmplitudeAdvice::TooSmall: return 1;
    case varek::AmplitudeAdvice::NearPlates: return 2;
    case varek::AmplitudeAdvice::Fine: break;
  }
  return 0;
}

}  // extern "C"
