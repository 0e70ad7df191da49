// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_table.h"

#include <algorithm>
#include <optional>

#include "measurement/id_index.h"
#include "measurement/id_lookup.h"

namespace varek {

namespace {
constexpr std::size_t LongestRowId = 32;
}  // namespace

bool IsRowId(std::string_view id) {
  return !id.empty() && id.size() <= LongestRowId && std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
  });
}

std::string RowIdSource::Next() {
  // splitmix64: a counter through a bijective mixing, no two outputs alike.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  std::string id(16, '0');
  for (int i = 15; i >= 0; --i, z >>= 4)
    id[static_cast<std::size_t>(i)] = "0123456789abcdef"[z & 15];
  return id;
}

TableChange AddRows(ProtocolTable rows) { return {{}, std::move(rows), {}, {}}; }

TableChange DeleteRow(std::string id) { return {{std::move(id)}, {}, {}, {}}; }

TableChange UpdateRow(ProtocolRow row) { return {{}, {}, {std::move(row)}, {}}; }

TableChange RestoreRows(std::vector<PlacedRow> rows) { return {{}, {}, {}, std::move(rows)}; }

std::vector<PlacedRow> PlacesOf(const ProtocolTable& seen,
                                const std::vector<std::string>& removed) {
  const IdLookup<bool> gone = LookupOf(removed);
  std::vector<PlacedRow> places;
  std::string_view above;  // the nearest row above that stays
  for (std::size_t i = 0; i < seen.size(); ++i) {
    if (gone.Contains(seen[i].id)) {
      places.push_back({seen[i], std::string(above), i});
    } else {
      above = seen[i].id;
    }
  }
  return places;
}

TableChange ClearRows(const ProtocolTable& seen) {
  TableChange change;
  for (const ProtocolRow& row : seen) change.remove.push_back(row.id);
  return change;
}

TableChange ImportRows(const ProtocolTable& seen, ProtocolTable rows, ImportMode mode,
                       RowIdSource& ids) {
  TableChange change = mode == ImportMode::Replace ? ClearRows(seen) : TableChange{};
  for (ProtocolRow& row : rows) row.id = ids.Next();
  change.add = std::move(rows);
  return change;
}

std::vector<RestorePlace> RestorePlaces(const ProtocolTable& table,
                                        const std::vector<PlacedRow>& places) {
  if (places.empty()) return {};
  IdIndex at(table.size() + places.size());
  for (std::size_t i = 0; i < table.size(); ++i) at.Insert(table[i].id, i);
  std::vector<RestorePlace> inserts;
  for (const PlacedRow& placed : places) {
    if (at.Find(placed.row.id)) continue;
    std::size_t before = std::min(placed.index, table.size());
    if (placed.after.empty()) {
      before = 0;
    } else if (const std::optional<std::size_t> found = at.Find(placed.after)) {
      before = *found + 1;
    }
    inserts.push_back({before, &placed.row});
    at.Insert(placed.row.id, table.size());  // once
  }
  std::stable_sort(
      inserts.begin(), inserts.end(),
      [](const RestorePlace& a, const RestorePlace& b) { return a.before < b.before; });
  return inserts;
}

namespace {

// The rows of `places` not in `table`, each behind its row `after` or at
// its former index, in one pass; rows for one place keep their order.
ProtocolTable Restored(ProtocolTable table, const std::vector<PlacedRow>& places) {
  const std::vector<RestorePlace> inserts = RestorePlaces(table, places);
  if (inserts.empty()) return table;
  ProtocolTable merged;
  merged.reserve(table.size() + inserts.size());
  auto next = inserts.begin();
  for (std::size_t k = 0; k <= table.size(); ++k) {
    for (; next != inserts.end() && next->before == k; ++next) merged.push_back(*next->row);
    if (k < table.size()) merged.push_back(std::move(table[k]));
  }
  return merged;
}

}  // namespace

ProtocolTable Applied(ProtocolTable table, const TableChange& change) {
  if (!change.remove.empty()) {
    const IdLookup<bool> gone = LookupOf(change.remove);
    std::erase_if(table, [&](const ProtocolRow& row) { return gone.Contains(row.id); });
  }
  if (!change.add.empty()) {
    // The identities are looked at where they stay: no row moves while rows are added.
    table.reserve(table.size() + change.add.size());
    IdIndex present(table.size() + change.add.size());
    for (const ProtocolRow& row : table) present.Insert(row.id);
    for (const ProtocolRow& row : change.add) {
      if (present.Insert(row.id)) table.push_back(row);
    }
  }
  if (!change.restore.empty()) table = Restored(std::move(table), change.restore);
  for (const ProtocolRow& row : change.update) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const ProtocolRow& there) { return there.id == row.id; });
    if (found != table.end()) found->values = row.values;
  }
  return table;
}

TableChange Then(TableChange first, const TableChange& then) {
  const IdLookup<bool> gone = LookupOf(then.remove);
  std::erase_if(first.add, [&](const ProtocolRow& row) { return gone.Contains(row.id); });
  first.remove.insert(first.remove.end(), then.remove.begin(), then.remove.end());
  first.add.insert(first.add.end(), then.add.begin(), then.add.end());
  std::erase_if(first.restore,
                [&](const PlacedRow& placed) { return gone.Contains(placed.row.id); });
  first.restore.insert(first.restore.end(), then.restore.begin(), then.restore.end());
  // Updates come after the adds when applied, so also one of a row `first`
  // adds holds; of two updates of a row the later wins.
  std::erase_if(first.update, [&](const ProtocolRow& row) { return gone.Contains(row.id); });
  first.update.insert(first.update.end(), then.update.begin(), then.update.end());
  return first;
}

std::vector<Measurement> ValuesOf(const ProtocolTable& table) {
  std::vector<Measurement> values;
  values.reserve(table.size());
  for (const ProtocolRow& row : table) values.push_back(row.values);
  return values;
}

}  // namespace varek
