// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The paths of the settings computed last, to be shown again without
// integrating: the paths of a setting never change. A kept result is what
// the integration writes into the scene (paths, their sample counts, the
// step count, the beam speed and the end test's flag), so a scene that
// recalls it draws the same picture to the last pixel. A kept result also
// travels as bytes to another cache of the same build (the page's picture
// workers share what each of them computed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/scene.h"
#include "model/settings.h"

namespace varek {

// What the paths depend on: the settings of the stage Paths; the others at
// their start values.
Settings PathKey(const Settings& settings);

class PathCache {
 public:
  // At most `capacity` results; beyond, the one used longest ago gives way.
  explicit PathCache(std::size_t capacity) : capacity_(capacity) {}

  // Writes the kept result for the paths of `settings` into `scene`, as the
  // integration would; false (and `scene` untouched) when none is kept.
  bool Recall(const Settings& settings, Scene& scene);
  // Keeps what the integration for `settings` wrote into `scene`.
  void Keep(const Settings& settings, const Scene& scene);

  // The kept result for the paths of `settings` as bytes; empty when none
  // is kept. Read back by KeepPacked of a cache in a program of the same
  // build (the bytes hold the beam speed as that build stores it).
  std::vector<std::uint8_t> Packed(const Settings& settings) const;
  // Keeps the result that Packed gave for the paths of `settings`; false
  // (and nothing kept) when the bytes are not such a result.
  bool KeepPacked(const Settings& settings, std::span<const std::uint8_t> bytes);

 private:
  static constexpr std::int32_t KeptPaths = 2;  // only paths 1 and 2 are ever filled

  struct Result {
    Settings key;  // the settings of the stage Paths, the others at their start values
    std::vector<Vec3i> points[KeptPaths];
    std::int32_t total = 0, steps = 0;
    Extended beam_speed = 0;
    bool screen_hit = false;
    std::uint64_t used = 0;  // when it was kept or recalled last
  };

  // The index of the result for the paths of `settings`; results_.size() if none.
  std::size_t IndexOf(const Settings& settings) const;
  // The place for the result of `settings`: its own, a free one, or that of
  // the result used longest ago; `used` counted.
  Result& PlaceFor(const Settings& settings);

  std::size_t capacity_;
  std::vector<Result> results_;
  std::uint64_t uses_ = 0;
};

// The settings a step of the current or of the voltage away, within their
// ranges, where a user most likely goes next, in that order: the last change
// (from the settings `before`) once more, the line steps (the current's
// first, up before down), the last change twice, the page steps.
std::vector<Settings> PathNeighbours(const Settings& settings, const Settings& before);

}  // namespace varek
