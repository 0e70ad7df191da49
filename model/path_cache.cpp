// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/path_cache.h"

#include <algorithm>

#include "model/setting_table.h"

namespace varek {

namespace {

// What the paths depend on: the settings of the stage Paths; the others
// at their start values.
Settings PathKey(const Settings& settings) {
  Settings key;
  for (const SettingRow& row : SettingTable())
    if (row.stage == SettingStage::Paths) row.SetIn(key, row.ValueIn(settings));
  return key;
}

}  // namespace

std::size_t PathCache::IndexOf(const Settings& settings) const {
  const Settings key = PathKey(settings);
  const auto found =
      std::find_if(results_.begin(), results_.end(), [&](const Result& r) { return r.key == key; });
  return static_cast<std::size_t>(found - results_.begin());
}

bool PathCache::Holds(const Settings& settings) const {
  return IndexOf(settings) < results_.size();
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

void PathCache::Keep(const Settings& settings, const Scene& scene) {
  if (capacity_ == 0) return;
  // The same settings again, a free place, or the result used longest ago.
  std::size_t index = IndexOf(settings);
  if (index == results_.size() && results_.size() == capacity_)
    index = static_cast<std::size_t>(
        std::min_element(results_.begin(), results_.end(),
                         [](const Result& a, const Result& b) { return a.used < b.used; }) -
        results_.begin());
  Result* result = index < results_.size() ? &results_[index] : &results_.emplace_back();
  result->key = PathKey(settings);
  result->total = std::min(scene.TrajectoryTotal, KeptPaths);
  for (int i = 1; i <= result->total; ++i) {
    const Vec3i* first = &scene.TrajectoryPoints[i][1];
    result->points[i - 1].assign(first, first + scene.TrajectoryCount[i]);
  }
  result->steps = scene.StepCounter;
  result->beam_speed = scene.BeamSpeed;
  result->screen_hit = scene.ScreenHit;
  result->used = ++uses_;
}

std::vector<Settings> PathNeighbours(const Settings& settings, const Settings& before) {
  std::vector<Settings> neighbours;
  for (const SettingRow* row : {&Setting("current"), &Setting("voltage")}) {
    const int change = row->ValueIn(settings) - row->ValueIn(before);
    for (const int direction : {1, -1}) {
      const int value = row->ValueIn(settings) + direction * row->line_step;
      if (!row->range.Contains(value)) continue;
      Settings neighbour = settings;
      row->SetIn(neighbour, value);
      // The way of the last change, first: a user stepping on goes there.
      const bool onwards = change * direction > 0;
      neighbours.insert(onwards ? neighbours.begin() : neighbours.end(), neighbour);
    }
  }
  return neighbours;
}

}  // namespace varek
