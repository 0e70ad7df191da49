// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A set of row identities, each looked up and added without a node or a
// text of its own (a table's 20,000 at once): open addressing over views
// of them, which must stay where they are while the set is used.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace varek {

class IdSet {
 public:
  // For at most `most` identities.
  explicit IdSet(std::size_t most) {
    std::size_t size = 16;
    while (size < 2 * most) size *= 2;
    slots_.resize(size);
  }
  // Whether `id` was not in the set; it is now.
  bool Insert(std::string_view id) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = std::hash<std::string_view>{}(id)&mask;; at = (at + 1) & mask) {
      if (slots_[at].data() == nullptr) {
        slots_[at] = id;  // a string's data is never null
        return true;
      }
      if (slots_[at] == id) return false;
    }
  }

 private:
  std::vector<std::string_view> slots_;
};

}  // namespace varek
