// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_store.h"

#include <algorithm>
#include <iterator>

#include "measurement/id_lookup.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {

// The rows of `places` that the step's rows lack, with their lines, at
// their places (given new values by `updates`); the step's text holds a
// line a row.
void PutBack(StoreStep& step, const std::vector<PlacedRow>& places,
             const IdLookup<const Measurement*>& updates) {
  const std::vector<RestorePlace> inserts = RestorePlaces(step.rows, places);
  if (inserts.empty()) return;
  ProtocolTable rows;
  rows.reserve(step.rows.size() + inserts.size());
  std::string text;
  text.reserve(step.text.size() + inserts.size() * 64);
  // The rows and lines between the places are taken over a run at a time.
  std::size_t k = 0;                            // the first row not taken over
  std::size_t line = step.text.find('\n') + 1;  // its line, after the header
  std::size_t run = 0;                          // the first byte not taken over
  const auto rows_from = [&](std::size_t row) {
    return std::make_move_iterator(step.rows.begin() + static_cast<std::ptrdiff_t>(row));
  };
  for (const RestorePlace& insert : inserts) {
    rows.insert(rows.end(), rows_from(k), rows_from(insert.before));
    for (; k < insert.before; ++k) line = step.text.find('\n', line) + 1;
    text.append(step.text, run, line - run);
    run = line;
    const Measurement* const* update = updates.Find(insert.row->id);
    rows.push_back(update == nullptr ? *insert.row : ProtocolRow{insert.row->id, **update});
    AppendRowLine(text, rows.back(), TableForm::Store);
  }
  rows.insert(rows.end(), rows_from(k), rows_from(step.rows.size()));
  text.append(step.text, run);
  step.rows = std::move(rows);
  step.text = std::move(text);
}

// The step on the store as `copy` holds it (its text is WriteTable of its
// rows): the rows and lines that stay are taken over, those removed left
// out, the updated ones written anew, the added ones written at the end and
// those put back written at their places. As Applied, then WriteTable.
// The copy's rows are moved into the step where the change cannot be
// refused: the copy is the step's afterwards.
StoreStep StepFromCopy(StoreCopy& copy, const TableChange& change) {
  const std::string_view stored = copy.text;
  const IdLookup<bool> gone = LookupOf(change.remove);
  IdLookup<const Measurement*> updates;
  for (const ProtocolRow& row : change.update) updates.Put(row.id, &row.values);
  IdLookup<bool> adding;
  for (const ProtocolRow& row : change.add) adding.Put(row.id, true);

  StoreStep step;
  step.rows_read = copy.rows.size();
  step.rows.reserve(copy.rows.size() + change.add.size());
  step.text.reserve(stored.size() + change.add.size() * 64);
  std::size_t line = stored.find('\n') + 1;  // after the header
  std::size_t run = 0;                       // the first line not yet taken over
  const auto take_over_to = [&](std::size_t end) { step.text.append(stored, run, end - run); };
  const bool may_refuse =
      copy.rows.size() + change.add.size() + change.restore.size() > MaxTableRows;
  IdLookup<bool> present;
  for (ProtocolRow& row : copy.rows) {
    const std::size_t next = stored.find('\n', line) + 1;
    if (gone.Contains(row.id)) {
      take_over_to(line);
      run = next;
    } else {
      const Measurement* const* update = updates.Find(row.id);
      if (update == nullptr) {
        step.rows.push_back(may_refuse ? row : std::move(row));
      } else {
        take_over_to(line);
        run = next;
        step.rows.push_back({row.id, **update});
        AppendRowLine(step.text, step.rows.back(), TableForm::Store);
      }
      // (The rows are reserved: the identity stays where it is.)
      if (adding.Contains(step.rows.back().id)) present.Put(step.rows.back().id, true);
    }
    line = next;
  }
  take_over_to(line);
  for (const ProtocolRow& row : change.add) {
    if (!present.Put(row.id, true)) continue;
    const Measurement* const* update = updates.Find(row.id);
    step.rows.push_back(update == nullptr ? row : ProtocolRow{row.id, **update});
    AppendRowLine(step.text, step.rows.back(), TableForm::Store);
  }
  PutBack(step, change.restore, updates);
  if (step.rows.size() > MaxTableRows && step.rows.size() > copy.rows.size()) {
    step.refusal = TableFullMessage(step.rows.size());
    step.rows = copy.rows;
    step.text = copy.text;
  }
  step.write = step.text != stored;
  return step;
}

}  // namespace

StoreStep StepStore(std::string_view stored, const TableChange& change, const StoreMemory& memory,
                    StoreCopy* copy) {
  StoreStep step;
  if (copy != nullptr && !stored.empty() && stored == copy->text &&
      copy->rows.size() >= memory.rows_written) {
    step = StepFromCopy(*copy, change);
  } else {
    TableRead read = ReadTable(stored, TableForm::Store);
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
  }
  if (copy != nullptr && copy->filled_later) {
    copy->text.clear();
    copy->rows.clear();
  } else if (copy != nullptr) {
    copy->text = step.text;
    copy->rows = step.rows;
  }
  return step;
}

SharedLines SharedLinesOf(std::string_view before, std::string_view after) {
  SharedLines shared;
  const std::size_t shorter = std::min(before.size(), after.size());
  const std::size_t same =
      std::mismatch(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(shorter),
                    after.begin())
          .first -
      before.begin();
  const std::size_t head_end = before.substr(0, same).rfind('\n');
  shared.head_bytes = head_end == std::string_view::npos ? 0 : head_end + 1;
  // From the end, no further than the head in the shorter text; the tail
  // starts a line in both.
  std::size_t tail = 0;
  while (tail < shorter - shared.head_bytes &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  const auto starts_line = [&](std::string_view text, std::size_t at) {
    return at == shared.head_bytes || text[at - 1] == '\n';
  };
  while (tail > 0 &&
         !(starts_line(before, before.size() - tail) && starts_line(after, after.size() - tail))) {
    --tail;
  }
  shared.tail_bytes = tail;
  shared.head_lines = static_cast<std::size_t>(std::count(
      before.begin(), before.begin() + static_cast<std::ptrdiff_t>(shared.head_bytes), '\n'));
  shared.tail_lines = static_cast<std::size_t>(
      std::count(before.end() - static_cast<std::ptrdiff_t>(tail), before.end(), '\n'));
  return shared;
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
