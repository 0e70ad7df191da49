// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the protocol's table reader. The first byte chooses
// the form (odd: the store, even: the exchange file), the rest is the text.
// Every input must be read without a crash, a leak or undefined behaviour,
// every message must be one short printable line, and every text that is
// accepted must come back unchanged: read, write, read gives the same table,
// and what the table shows holds no "inf", "nan" and no empty result. The
// rows of an accepted exchange file, imported into a store, make a store
// that reads back whole, up to the row limit (the corpus has a table near
// it); past it the import is refused.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "measurement/protocol_csv.h"
#include "measurement/protocol_store.h"
#include "measurement/protocol_view.h"

namespace {

void Require(bool condition, const char* what, std::string_view detail = {}) {
  if (condition) return;
  std::fprintf(stderr, "protocol_csv_fuzz: %s: %.*s\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

// One line, short, no control characters (the excerpts escape them).
void CheckMessage(const std::string& message) {
  Require(!message.empty() && message.size() < 600, "message length", message);
  for (unsigned char c : message)
    Require(c >= 0x20 && c != 0x7F, "control character in a message", message);
}

void CheckShown(const std::string& text) {
  Require(text.find("inf") == std::string::npos && text.find("nan") == std::string::npos,
          "not a number shown", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  using namespace varek;
  const TableForm form = (data[0] & 1) != 0 ? TableForm::Store : TableForm::Exchange;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  const TableRead read = ReadTable(text, form);
  for (const CsvProblem& problem : read.problems) CheckMessage(problem.Message());
  if (!read.Clean()) CheckMessage(read.Summary());
  // The store keeps the good rows of a damaged text; a store step on it is
  // then clean.
  if (form == TableForm::Store) {
    const StoreStep step = StepStore(text, {});
    Require(ReadTable(step.text, TableForm::Store).Clean(), "store step not clean");
    Require(step.rows == read.rows, "store step lost rows");
  }
  if (!read.Clean()) return 0;

  const std::string written = WriteTable(read.rows, form);
  const TableRead again = ReadTable(written, form);
  Require(again.Clean(), "written table not accepted", again.Summary());
  Require(again.rows == read.rows, "round trip changed the table", written);
  Require(WriteTable(again.rows, form) == written, "second writing differs", written);

  if (form == TableForm::Exchange) {
    RowIdSource ids(1);
    const StoreStep imported = StepStore({}, ImportRows({}, read.rows, ImportMode::Append, ids));
    Require(imported.refusal.empty() == (read.rows.size() <= MaxTableRows), "row limit");
    Require(ReadTable(imported.text, TableForm::Store).rows == imported.rows,
            "a written store does not read back", imported.text.substr(0, 200));
  }

  const ProtocolView view = ViewOf(read.rows);
  Require(!view.result.empty(), "empty result");
  CheckShown(view.result);
  CheckShown(view.deviation);
  for (const ProtocolViewRow& row : view.rows) {
    for (const std::string& cell : row.cells) CheckShown(cell);
  }
  return 0;
}
