// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/focus_search.h"

#include <algorithm>
#include <cmath>

#include "measurement/constants.h"
#include "model/model.h"

namespace varek {

namespace {

constexpr int HighestCurrentMilliamps = CurrentRange.highest;
// The focus lies within 10 % of k times the ideal current: the deflection
// shifts it by a few percent at most before the electrons hit the plates.
constexpr double WindowFraction = 0.10;
// The distance has plateaus a few mA wide (the marks are whole scene units)
// and falls towards the focus from both sides: a coarse scan at this step
// finds the valley, an exact scan of twice that width on each side its floor.
constexpr int CoarseStep = 8;
constexpr int FineReach = 3 * CoarseStep;

// The closest distance of a scan upwards and the first run of currents
// that have it.
struct BestCurrent {
  std::optional<int> current;  // the lowest
  int highest = 0;
  long distance = 0;
  bool in_run = false;  // the last current offered has the distance
  void Offer(int at, std::optional<long> d) {
    if (d && (!current || *d < distance)) {
      current = highest = at;
      distance = *d;
      in_run = true;
    } else if (d && *d == distance && in_run) {
      highest = at;
    } else {
      in_run = false;
    }
  }
};

// Deflection on with an alternating voltage: two paths, one for each extreme.
Settings FocusSettings(int voltage, int current, int amplitude) {
  Settings settings;
  settings.voltage = voltage;
  settings.current = current;
  settings.amplitude = amplitude;
  settings.deflection_on = true;
  settings.steady = false;
  return settings;
}

std::optional<long> MarkDistanceSquared(Model& model, const Settings& settings) {
  model.ComputeTrajectories(settings);
  const Scene& scene = model.scene();
  // The two paths are mirror images: the outcome of the last tells both.
  if (!scene.ScreenHit || scene.TrajectoryTotal != 2) return std::nullopt;
  const Vec3i& a = scene.TrajectoryPoints[1][scene.TrajectoryCount[1]];
  const Vec3i& b = scene.TrajectoryPoints[2][scene.TrajectoryCount[2]];
  const long dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

BestCurrent Scan(Model& model, int voltage, int amplitude, int lowest, int highest, int step) {
  BestCurrent best;
  for (int current = lowest; current <= highest; current += step) {
    best.Offer(current, MarkDistanceSquared(model, FocusSettings(voltage, current, amplitude)));
  }
  return best;
}

}  // namespace

double TheoreticalFocusCurrent(double voltage, int order) {
  const double field =
      std::sqrt(8 * std::numbers::pi * std::numbers::pi * voltage / LiteratureSpecificCharge) /
      PlatesToScreen;
  return order * field * LengthOfCoil / (MagneticConstant * TurnsOfCoil) *
         static_cast<double>(MilliampsPerAmp);
}

std::optional<long> EndMarkDistanceSquared(int voltage, int current, int amplitude) {
  const Settings settings = FocusSettings(voltage, current, amplitude);
  Model model(settings);
  return MarkDistanceSquared(model, settings);
}

std::optional<FocusRange> FindFocusRange(int voltage, int order, int amplitude) {
  const double ideal = TheoreticalFocusCurrent(voltage, order);
  const int lowest = std::max(0, static_cast<int>(std::floor(ideal * (1 - WindowFraction))));
  const int highest =
      std::min(HighestCurrentMilliamps, static_cast<int>(std::ceil(ideal * (1 + WindowFraction))));
  if (ideal > HighestCurrentMilliamps) return std::nullopt;
  Model model(FocusSettings(voltage, lowest, amplitude));
  const BestCurrent coarse = Scan(model, voltage, amplitude, lowest, highest, CoarseStep);
  if (!coarse.current) return std::nullopt;
  const BestCurrent fine =
      Scan(model, voltage, amplitude, std::max(lowest, *coarse.current - FineReach),
           std::min(highest, *coarse.current + FineReach), 1);
  FocusRange range{*fine.current, fine.highest};
  // The range may reach beyond the exact scan: follow it to its ends.
  const auto same = [&](int current) {
    return MarkDistanceSquared(model, FocusSettings(voltage, current, amplitude)) == fine.distance;
  };
  while (range.lowest > lowest && same(range.lowest - 1)) --range.lowest;
  while (range.highest < highest && same(range.highest + 1)) ++range.highest;
  // At the end of the coil's range the marks may still be closing in: no
  // telling whether the focus lies there or beyond.
  if (range.highest == HighestCurrentMilliamps) return std::nullopt;
  return range;
}

std::optional<int> FindFocusCurrent(int voltage, int order, int amplitude) {
  const std::optional<FocusRange> range = FindFocusRange(voltage, order, amplitude);
  if (!range) return std::nullopt;
  return range->Middle();
}

std::optional<FocusRange> ScanFocusRange(int voltage, int amplitude, int lowest, int highest) {
  Model model(FocusSettings(voltage, lowest, amplitude));
  const BestCurrent best = Scan(model, voltage, amplitude, lowest, highest, 1);
  if (!best.current) return std::nullopt;
  return FocusRange{*best.current, best.highest};
}

}  // namespace varek
