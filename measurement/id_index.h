// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Row identities, each with an index (its place in a table), looked up and
// added without a node or a text of their own (a table's 20,000 at once):
// open addressing over views of them, which must stay where they are while
// the index is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace varek {

class IdIndex {
 public:
  // For at most `most` identities.
  explicit IdIndex(std::size_t most) {
    std::size_t size = 16;
    while (size < 2 * most) size *= 2;
    slots_.resize(size);
  }
  // Whether `id` was not there; it is now, with `index` (below 2^32, a
  // place in a table; an identity that was there keeps its own).
  bool Insert(std::string_view id, std::size_t index = 0) {
    Slot& slot = slots_[SlotOf(id)];
    if (slot.data != nullptr) return false;
    slot = {id.data(), static_cast<std::uint32_t>(id.size()), static_cast<std::uint32_t>(index)};
    return true;
  }
  // The index of `id`, or none.
  std::optional<std::size_t> Find(std::string_view id) const {
    const Slot& slot = slots_[SlotOf(id)];
    if (slot.data == nullptr) return std::nullopt;
    return slot.index;
  }

 private:
  // 16 bytes: a table's 20,000 identities take 64 K slots.
  struct Slot {
    const char* data = nullptr;  // a string's data is never null: a free slot's is
    std::uint32_t size = 0;
    std::uint32_t index = 0;
    std::string_view id() const { return {data, size}; }
  };
  // The place of `id`'s slot, or of the free one where it would go.
  std::size_t SlotOf(std::string_view id) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = std::hash<std::string_view>{}(id)&mask;; at = (at + 1) & mask) {
      if (slots_[at].data == nullptr || slots_[at].id() == id) return at;
    }
  }
  std::vector<Slot> slots_;
};

}  // namespace varek
