// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_store.h"

#include "measurement/protocol_texts.h"

namespace varek {

StoreStep StepStore(std::string_view stored, const TableChange& change, const StoreMemory& memory) {
  TableRead read = ReadTable(stored, TableForm::Store);
  StoreStep step;
  step.summary = read.Summary();
  step.rows_read = read.rows.size();
  step.shrunk = read.rows.size() < memory.rows_written;
  step.keep_aside = !read.Clean() || step.shrunk;
  // Rows the other program left (or added) stay behind the shown ones.
  ProtocolTable before =
      step.shrunk ? Applied(memory.shown, AddRows(std::move(read.rows))) : std::move(read.rows);
  step.rows = Applied(before, change);
  if (step.rows.size() > MaxTableRows && step.rows.size() > before.size()) {
    step.refusal = TableFullMessage(step.rows.size());
    step.rows = std::move(before);
  }
  step.text = WriteTable(step.rows, TableForm::Store);
  step.write = stored.empty() ? !step.rows.empty() || step.keep_aside : step.text != stored;
  return step;
}

std::string KeptAsideMessage(const StoreStep& step, std::size_t rows_written,
                             std::string_view kept_as) {
  return step.shrunk ? StoreShrunkMessage(step.rows_read, rows_written, kept_as)
                     : StoreRepairedMessage(step.summary, step.rows_read, kept_as);
}

std::string KeptAsideName(std::string_view store, int n) {
  return std::string(store) + ".defekt-" + std::to_string(n);
}

}  // namespace varek
