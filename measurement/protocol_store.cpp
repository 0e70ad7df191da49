// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_store.h"

namespace varek {

StoreStep StepStore(std::string_view stored, const TableChange& change) {
  TableRead read = ReadTable(stored, TableForm::Store);
  StoreStep step;
  step.keep_aside = !read.Clean();
  step.summary = read.Summary();
  step.rows_read = read.rows.size();
  step.rows = Applied(std::move(read.rows), change);
  step.text = WriteTable(step.rows, TableForm::Store);
  step.write = stored.empty() ? !change.Empty() : step.text != stored;
  return step;
}

std::string KeptAsideName(std::string_view store, int n) {
  return std::string(store) + ".defekt-" + std::to_string(n);
}

}  // namespace varek
