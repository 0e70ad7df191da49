// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's store, shared by every copy of the program that runs (or
// every tab of the page): each change is applied under a lock to what the
// store holds at that moment, and written back at once.
//
//   lock; read the store; keep a damaged one aside; apply the change;
//   write the store when its text changed; unlock
//
// StepStore is the part between lock and unlock on the store's text, the
// same for both front ends: the desktop's ProtocolStoreFile
// (measurement/protocol_store_file.h) runs it on a file under flock(2); the
// page runs it on its storage under a Web Lock.
// Bad lines of a store are passed over, never the good ones; the store as it
// was is first kept aside under a name that no earlier copy has.
#pragma once

#include <string>
#include <string_view>

#include "measurement/protocol_csv.h"
#include "measurement/protocol_table.h"

namespace varek {

// While the store cannot be written, the changes kept in the window are
// tried again this often (milliseconds), in both front ends.
inline constexpr int StoreRetryMilliseconds = 2000;

// What a copy of the program knows of the store from its earlier steps.
// A store shrinks only by the program's own deletions; one that holds fewer
// rows than the program last wrote to it was emptied or cut by another
// program (an editor saving in place truncates first), and is not taken as
// the truth.
struct StoreMemory {
  std::size_t rows_written = 0;  // by the last step of any copy; 0: not known
  ProtocolTable shown;           // this copy's table, kept when the store lost rows
};

struct StoreStep {
  ProtocolTable rows;         // the table after the change
  std::string text;           // the store's text after the change
  bool write = false;         // the text differs from what was stored
  bool keep_aside = false;    // the stored text had bad lines or lost rows: keep it as it was
  bool shrunk = false;        // it lost rows: `shown` was kept
  std::string summary;        // what was wrong with it (for StoreRepairedMessage)
  std::size_t rows_read = 0;  // the good rows of the stored text
  std::string refusal;        // the change would pass MaxTableRows and is not made
};

// The text and rows of a copy's last step. A step on the store as that step
// left it reads nothing again and writes only the lines that change: a
// reading, a deletion or an import costs the same at 20,000 rows as at 20.
struct StoreCopy {
  std::string text;
  ProtocolTable rows;
  // Whether the caller puts the step's text and rows into the copy itself,
  // once it has shown them (before the next step): the step leaves the
  // copy empty then.
  bool filled_later = false;
};

// `stored`: the store's text, empty when there is none yet. With `copy`,
// the step starts from it where the store still holds its text, and leaves
// its own text and rows in it.
StoreStep StepStore(std::string_view stored, const TableChange& change,
                    const StoreMemory& memory = {}, StoreCopy* copy = nullptr);

// The whole lines that a store's text keeps at its start and at its end
// through a step (not overlapping in either text): a store kept in pieces
// of lines writes only what lies between (`after` from head_bytes to
// after.size() - tail_bytes) and keeps the pieces of those lines.
struct SharedLines {
  std::size_t head_lines = 0;
  std::size_t head_bytes = 0;
  std::size_t tail_lines = 0;
  std::size_t tail_bytes = 0;
};
SharedLines SharedLinesOf(std::string_view before, std::string_view after);

// The message for a stored text kept aside under `kept_as`.
std::string KeptAsideMessage(const StoreStep& step, std::size_t rows_written,
                             std::string_view kept_as);

// The name of the n-th copy kept aside (n from 1): "messprotokoll.csv.defekt-2".
std::string KeptAsideName(std::string_view store, int n);

}  // namespace varek
