// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Row identities, each with an index (its place in a table), looked up and
// added without a node or a text of their own (a table's 20,000 at once):
// open addressing over views of them, which must stay where they are while
// the index is used.
#pragma once

#include <cstddef>
#include <functional>
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
  // Whether `id` was not there; it is now, with `index` (an identity that
  // was there keeps its own).
  bool Insert(std::string_view id, std::size_t index = 0) {
    Slot& slot = SlotOf(id);
    if (slot.id.data() != nullptr) return false;
    slot = {id, index};
    return true;
  }
  // The index of `id`, or nullptr.
  const std::size_t* Find(std::string_view id) const {
    const Slot& slot = const_cast<IdIndex*>(this)->SlotOf(id);
    return slot.id.data() == nullptr ? nullptr : &slot.index;
  }

 private:
  struct Slot {
    std::string_view id;  // a string's data is never null: a free slot's is
    std::size_t index = 0;
  };
  // The slot of `id`, or the free one where it would go.
  Slot& SlotOf(std::string_view id) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = std::hash<std::string_view>{}(id)&mask;; at = (at + 1) & mask) {
      if (slots_[at].id.data() == nullptr || slots_[at].id == id) return slots_[at];
    }
  }
  std::vector<Slot> slots_;
};

}  // namespace varek
