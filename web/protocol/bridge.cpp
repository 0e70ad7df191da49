// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The functions that the page's measurement protocol calls: the evaluation,
// the CSV texts and the German texts of the table, all from the measurement
// module that the desktop window and the command-line tools use.
//
// The page keeps its table as text in the form of the desktop's store
// (measurement/protocol_csv.h); every function takes that text and returns a
// string that lives until the next call.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/amplitude_advice.h"
#include "measurement/constants.h"
#include "measurement/portable_chars.h"
#include "measurement/protocol_checks.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_store.h"
#include "measurement/protocol_texts.h"
#include "measurement/protocol_view.h"

namespace {

using varek::Measurement;
using varek::ProtocolTable;
using varek::TableForm;

std::string answer;

const char* Answer(std::string text) {
  answer = std::move(text);
  return answer.c_str();
}

// Identities of new rows: seeded once from the clock of the page.
varek::RowIdSource& Ids() {
  static varek::RowIdSource ids(static_cast<std::uint64_t>(emscripten_get_now() * 1e3));
  return ids;
}

// The stored table with `change` applied, as the store's text; an empty
// table is no text at all.
std::string Changed(std::string_view table, const varek::TableChange& change) {
  const varek::StoreStep step = varek::StepStore(table, change);
  return step.rows.empty() ? std::string() : step.text;
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

// {"titles", "cells": one array a row, "result", "warning", "slope": a of
// I^2 = a k^2 U or null, "points": [k^2 U, I^2] a row, "error": why the
// stored table cannot be read, or ""}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_view(const char* table) {
  const varek::TableRead read = varek::ReadTable(table, TableForm::Store);
  const varek::ProtocolView view = varek::ViewOf(read.rows);
  const std::optional<varek::SeriesResult> result = varek::EvaluateSeries(view.values);
  std::string cells = "[", points = "[";
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    const Measurement& row = view.values[i];
    const char* comma = i > 0 ? "," : "";
    cells += comma + Json(view.rows[i].cells);
    points += comma + ("[" + Json(row.order * row.order * row.voltage) + "," +
                       Json(row.current * row.current) + "]");
  }
  std::string warning;
  for (const std::string& line : view.warnings) warning += (warning.empty() ? "" : "\n") + line;
  const std::string result_text = view.deviation.empty() ? view.result : view.result + "\n" + view.deviation;
  return Answer("{\"titles\":" + Json(view.titles) + ",\"cells\":" + cells +
                "],\"points\":" + points + "],\"result\":" + Json(result_text) +
                ",\"warning\":" + Json(warning) + ",\"slope\":" +
                (result ? Json(result->slope) : "null") + ",\"error\":" + Json(read.Summary()) + "}");
}

// The table with one more row: the settings in force (current in mA) and the focus order.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_record(const char* table, int voltage,
                                                      int milliamps, int amplitude, int order) {
  const Measurement row{static_cast<double>(voltage),
                        milliamps / static_cast<double>(varek::MilliampsPerAmp), order, amplitude,
                        varek::Deflection::Alternating};
  return Answer(Changed(table, varek::AddRows({{Ids().Next(), row}})));
}

// The table without row `index` (from 0).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_delete(const char* table, int index) {
  const ProtocolTable rows = varek::ReadTable(table, TableForm::Store).rows;
  if (index < 0 || index >= static_cast<int>(rows.size())) return Answer(table);
  return Answer(Changed(table, varek::DeleteRow(rows[static_cast<std::size_t>(index)].id)));
}

// The CSV file of the table: "U in V;I in A;k;Amplitude", one line a row.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_export(const char* table) {
  return Answer(varek::WriteTable(varek::ReadTable(table, TableForm::Store).rows, TableForm::Exchange));
}

// {"table": the stored form of the file's rows} or {"error": "Zeile 3: …"}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_import(const char* csv) {
  const varek::TableRead read = varek::ReadTable(csv, TableForm::Exchange);
  if (!read.Clean()) return Answer("{\"error\":" + Json(read.Summary()) + "}");
  const varek::TableChange change =
      varek::ImportRows({}, varek::ValuesOf(read.rows), varek::ImportMode::Append, Ids());
  return Answer("{\"table\":" + Json(Changed("", change)) + "}");
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
