// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The store as a file (the desktop's messprotokoll.csv in the user's data
// folder), shared by every copy of the program that runs: each change is
// StepStore (measurement/protocol_store.h) under flock(2) on a lock file
// beside it; the store is read with the store's size limit and written
// atomically; a damaged one is linked or moved to a free ".defekt-N" name.
// The lock file holds the number of rows last written, so that a store cut
// by another program is noticed by every copy. A folder that cannot be
// written is read without the lock: the rows are shown, nothing is stored.
#pragma once

#include <string>

#include "measurement/protocol_store.h"

namespace varek {

class ProtocolStoreFile {
 public:
  // `path`: the store; its folder is made when missing, the lock file is
  // `path` + ".lock" beside it.
  explicit ProtocolStoreFile(std::string path);

  struct Outcome {
    bool ok = true;       // false: the change was not stored (see message)
    bool read = true;     // `rows` is the store as it is now, also when not ok
    ProtocolTable rows;   // the table in the store (with the change when ok)
    std::string message;  // German; empty when there is nothing to say
  };
  // `shown`: the table this copy shows, kept when the store lost rows.
  Outcome Apply(const TableChange& change, const ProtocolTable& shown = {});
  Outcome Load(const ProtocolTable& shown = {}) { return Apply({}, shown); }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  StoreCopy copy_;  // the store as this copy's last step left it
};

}  // namespace varek
