// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A point of the scene in integer scene units.
#pragma once

#include <cstdint>

namespace varek {

struct Vec3i {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;

  friend bool operator==(const Vec3i&, const Vec3i&) = default;
};

}  // namespace varek
