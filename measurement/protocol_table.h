// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's table: rows with a stable identity, and the changes a user
// makes to it.
//
// Several copies of the program (or tabs of the page) share one store. Each
// change is therefore kept as what it does to rows by their identity, and
// applied to whatever the store holds at the moment it is written: rows of
// another copy that this one has not seen yet are neither removed nor
// brought back, and applying a change twice does what applying it once did.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/evaluation.h"

namespace varek {

struct ProtocolRow {
  std::string id;  // 1..32 characters of [0-9a-z], unique in a table
  Measurement values;
  friend bool operator==(const ProtocolRow&, const ProtocolRow&) = default;
};
using ProtocolTable = std::vector<ProtocolRow>;

bool IsRowId(std::string_view id);

// Fresh identities: 16 hexadecimal digits from a 64-bit mixing of the seed
// and a counter. Seeded from the platform's random source once per program
// (or page), two copies practically never make the same one.
class RowIdSource {
 public:
  explicit RowIdSource(std::uint64_t seed) : state_(seed) {}
  std::string Next();

 private:
  std::uint64_t state_;
};

// A row put back where a deletion took it from: behind the row `after`
// (empty: at the top), the nearest row above it that the deletion left; or,
// when that one is gone meanwhile, at its former place `index` (from 0).
struct PlacedRow {
  ProtocolRow row;
  std::string after;
  std::size_t index = 0;
  friend bool operator==(const PlacedRow&, const PlacedRow&) = default;
};

// A change: rows removed by identity (those no longer there are passed
// over), then rows added at the end and rows put back at their places (for
// both, those whose identity is there already are passed over), then rows
// given new values in their place (those no longer there are passed over).
struct TableChange {
  std::vector<std::string> remove;
  ProtocolTable add;
  ProtocolTable update;
  std::vector<PlacedRow> restore;
  bool Empty() const { return remove.empty() && add.empty() && update.empty() && restore.empty(); }
};

TableChange AddRows(ProtocolTable rows);
TableChange DeleteRow(std::string id);
TableChange UpdateRow(ProtocolRow row);
// Every row the user saw (and confirmed to clear); rows added meanwhile by
// another copy stay.
TableChange ClearRows(const ProtocolTable& seen);
// The rows of `seen` whose identities are in `removed`, each with its place
// in `seen`: what RestoreRows puts back after they were deleted.
std::vector<PlacedRow> PlacesOf(const ProtocolTable& seen, const std::vector<std::string>& removed);
TableChange RestoreRows(std::vector<PlacedRow> rows);
// Where RestoreRows puts the rows of `places` that `table` lacks: each
// before the row `before` of `table` (its size: at the end), in that order.
struct RestorePlace {
  std::size_t before = 0;
  const ProtocolRow* row = nullptr;
};
std::vector<RestorePlace> RestorePlaces(const ProtocolTable& table,
                                        const std::vector<PlacedRow>& places);
// Import: "Ersetzen" clears what the user saw and adds the file's rows,
// "Anhängen" only adds them.
enum class ImportMode { Replace, Append };
// `rows`: the file's rows as read, each given its identity in place.
TableChange ImportRows(const ProtocolTable& seen, ProtocolTable rows, ImportMode mode,
                       RowIdSource& ids);

ProtocolTable Applied(ProtocolTable table, const TableChange& change);
// One change that does what `first` and then `then` do (to a table that
// holds none of the rows `first` adds): the changes not yet stored, kept
// while the store cannot be written.
TableChange Then(TableChange first, const TableChange& then);

std::vector<Measurement> ValuesOf(const ProtocolTable& table);

}  // namespace varek
