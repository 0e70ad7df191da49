// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/path_cache.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "model/setting_table.h"

namespace varek {

namespace {

// The bytes of a packed result: the path count, the step count, the end
// test's flag, the sample count of each path, then the beam speed and the
// paths' points as the program stores them.
struct PackedHead {
  std::int32_t total, steps, screen_hit;
};

template <typename T>
void Append(std::vector<std::uint8_t>& bytes, const T* values, std::size_t count) {
  static_assert(std::is_trivially_copyable_v<T>);
  const auto* first = reinterpret_cast<const std::uint8_t*>(values);
  bytes.insert(bytes.end(), first, first + count * sizeof(T));
}

// Takes `count` values off the front of `bytes`; false when too few are left.
template <typename T>
bool Take(std::span<const std::uint8_t>& bytes, T* values, std::size_t count) {
  static_assert(std::is_trivially_copyable_v<T>);
  if (bytes.size() < count * sizeof(T)) return false;
  std::memcpy(values, bytes.data(), count * sizeof(T));
  bytes = bytes.subspan(count * sizeof(T));
  return true;
}

}  // namespace

Settings PathKey(const Settings& settings) {
  Settings key;
  for (const SettingRow& row : SettingTable())
    if (row.stage == SettingStage::Paths) row.SetIn(key, row.ValueIn(settings));
  return key;
}

std::size_t PathCache::IndexOf(const Settings& settings) const {
  const Settings key = PathKey(settings);
  const auto found =
      std::find_if(results_.begin(), results_.end(), [&](const Result& r) { return r.key == key; });
  return static_cast<std::size_t>(found - results_.begin());
}

bool PathCache::Recall(const Settings& settings, Scene& scene) {
  const std::size_t index = IndexOf(settings);
  if (index == results_.size()) return false;
  Result* result = &results_[index];
  result->used = ++uses_;
  scene.TrajectoryTotal = result->total;
  for (int i = 1; i <= result->total; ++i) {
    const std::vector<Vec3i>& points = result->points[i - 1];
    scene.TrajectoryCount[i] = static_cast<std::int32_t>(points.size());
    std::copy(points.begin(), points.end(), &scene.TrajectoryPoints[i][1]);
  }
  scene.StepCounter = result->steps;
  scene.BeamSpeed = result->beam_speed;
  scene.ScreenHit = result->screen_hit;
  return true;
}

PathCache::Result& PathCache::PlaceFor(const Settings& settings) {
  std::size_t index = IndexOf(settings);
  if (index == results_.size() && results_.size() == capacity_)
    index = static_cast<std::size_t>(
        std::min_element(results_.begin(), results_.end(),
                         [](const Result& a, const Result& b) { return a.used < b.used; }) -
        results_.begin());
  Result& result = index < results_.size() ? results_[index] : results_.emplace_back();
  result.key = PathKey(settings);
  result.used = ++uses_;
  return result;
}

void PathCache::Keep(const Settings& settings, const Scene& scene) {
  if (capacity_ == 0) return;
  Result* result = &PlaceFor(settings);
  result->total = std::min(scene.TrajectoryTotal, KeptPaths);
  for (int i = 1; i <= result->total; ++i) {
    const Vec3i* first = &scene.TrajectoryPoints[i][1];
    result->points[i - 1].assign(first, first + scene.TrajectoryCount[i]);
  }
  result->steps = scene.StepCounter;
  result->beam_speed = scene.BeamSpeed;
  result->screen_hit = scene.ScreenHit;
}

std::vector<std::uint8_t> PathCache::Packed(const Settings& settings) const {
  std::vector<std::uint8_t> bytes;
  const std::size_t index = IndexOf(settings);
  if (index == results_.size()) return bytes;
  const Result& result = results_[index];
  const PackedHead head{result.total, result.steps, result.screen_hit ? 1 : 0};
  Append(bytes, &head, 1);
  for (int i = 0; i < result.total; ++i) {
    const auto count = static_cast<std::int32_t>(result.points[i].size());
    Append(bytes, &count, 1);
  }
  Append(bytes, &result.beam_speed, 1);
  for (int i = 0; i < result.total; ++i)
    Append(bytes, result.points[i].data(), result.points[i].size());
  return bytes;
}

bool PathCache::KeepPacked(const Settings& settings, std::span<const std::uint8_t> bytes) {
  PackedHead head{};
  std::int32_t counts[KeptPaths] = {};
  if (!Take(bytes, &head, 1) || head.total < 0 || head.total > KeptPaths ||
      !Take(bytes, counts, static_cast<std::size_t>(head.total)))
    return false;
  std::size_t points = 0;
  for (int i = 0; i < head.total; ++i) {
    if (counts[i] < 0 || counts[i] > MaxSamples) return false;
    points += static_cast<std::size_t>(counts[i]);
  }
  if (bytes.size() != sizeof(Extended) + points * sizeof(Vec3i) || capacity_ == 0) return false;
  Result& result = PlaceFor(settings);
  result.total = head.total;
  result.steps = head.steps;
  result.screen_hit = head.screen_hit != 0;
  Take(bytes, &result.beam_speed, 1);
  for (int i = 0; i < head.total; ++i) {
    result.points[i].resize(static_cast<std::size_t>(counts[i]));
    Take(bytes, result.points[i].data(), result.points[i].size());
  }
  return true;
}

std::vector<Settings> PathNeighbours(const Settings& settings, const Settings& before) {
  const SettingRow* const rows[] = {&Setting("current"), &Setting("voltage")};
  std::vector<Settings> neighbours;
  // `row` moved by `change` from the settings, where that lies in range and
  // is not listed yet.
  const auto add = [&](const SettingRow& row, int change) {
    const int value = row.ValueIn(settings) + change;
    if (change == 0 || !row.range.Contains(value)) return;
    Settings neighbour = settings;
    row.SetIn(neighbour, value);
    if (std::find(neighbours.begin(), neighbours.end(), neighbour) == neighbours.end())
      neighbours.push_back(neighbour);
  };
  const auto change = [&](const SettingRow& row) {
    return row.ValueIn(settings) - row.ValueIn(before);
  };
  // A user stepping on goes the same way by the same step: that one first,
  // then the line steps, the step after next that way, the page steps.
  for (const SettingRow* row : rows) add(*row, change(*row));
  for (const SettingRow* row : rows)
    for (const int direction : {1, -1}) add(*row, direction * row->line_step);
  for (const SettingRow* row : rows) add(*row, 2 * change(*row));
  for (const SettingRow* row : rows)
    for (const int direction : {1, -1}) add(*row, direction * row->page_step);
  return neighbours;
}

}  // namespace varek
