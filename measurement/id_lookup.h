// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Identities, each with a value, that every row of a table is looked up
// in: a few are compared one by one, more are hashed. A lookup in a hash
// table hashes the identity however few it holds, and a step of the store
// looks up each of its 20,000 rows in what a reading or a deletion names.
// The identities' texts must stay where they are while they are looked up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace varek {

template <class Value>
class IdLookup {
 public:
  // `id` with `value`, over an earlier value of it; whether it is new.
  bool Put(std::string_view id, Value value) {
    if (Value* there = Find(id)) {
      *there = value;
      return false;
    }
    if (!hashed_ && few_.size() == FewIds) {
      many_.insert(few_.begin(), few_.end());
      few_.clear();
      hashed_ = true;
    }
    if (hashed_) {
      many_.emplace(id, value);
    } else {
      few_.emplace_back(id, value);
    }
    return true;
  }
  // The value of `id`, or nullptr.
  Value* Find(std::string_view id) { return FindIn(*this, id); }
  const Value* Find(std::string_view id) const { return FindIn(*this, id); }
  bool Contains(std::string_view id) const { return Find(id) != nullptr; }

 private:
  // Find for a lookup and for a constant one alike (`Self` is either).
  template <class Self>
  static auto FindIn(Self& self, std::string_view id) -> decltype(&self.few_.front().second) {
    if (self.hashed_) {
      const auto found = self.many_.find(id);
      return found == self.many_.end() ? nullptr : &found->second;
    }
    for (auto& [there, value] : self.few_) {
      if (there == id) return &value;
    }
    return nullptr;
  }
  static constexpr std::size_t FewIds = 8;
  std::vector<std::pair<std::string_view, Value>> few_;
  std::unordered_map<std::string_view, Value> many_;
  bool hashed_ = false;
};

// The identities of `ids`, for Contains.
inline IdLookup<bool> LookupOf(const std::vector<std::string>& ids) {
  IdLookup<bool> lookup;
  for (const std::string& id : ids) lookup.Put(id, true);
  return lookup;
}

}  // namespace varek
