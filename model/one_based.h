// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fixed-capacity array indexed from 1, the way the scene numbers its points.
#pragma once

#include <cassert>

namespace varek {

template <typename T, int N>
class OneBased {
 public:
  static constexpr int Capacity = N;

  T& operator[](int i) {
    assert(i >= 1 && i <= N);
    return items_[i - 1];
  }
  const T& operator[](int i) const {
    assert(i >= 1 && i <= N);
    return items_[i - 1];
  }

  // Element by element.
  friend bool operator==(const OneBased&, const OneBased&) = default;

 private:
  T items_[N]{};
};

}  // namespace varek
