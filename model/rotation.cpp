// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rotation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "model/rounding_estimate.h"

namespace varek {

namespace {

constexpr Extended DegreesPerHalfTurn = 180;

// Sine and cosine of both angles, the same for every point of a call, and
// the same rounded to doubles for the estimates.
struct Turn {
  Extended sin1, cos1, sin2, cos2;
  double sin1_d, cos1_d, sin2_d, cos2_d;
};

Turn TurnFor(Extended angle1, Extended angle2) {
  const Extended s1 = Sin(angle1), c1 = Cos(angle1), s2 = Sin(angle2), c2 = Cos(angle2);
  return {s1,
          c1,
          s2,
          c2,
          static_cast<double>(s1),
          static_cast<double>(c1),
          static_cast<double>(s2),
          static_cast<double>(c2)};
}

// Coordinates up to 2^20 keep the doubles' turned values within 2^-28 of
// those of the extended sines and cosines (a few roundings of 2^-53 of at
// most 3 * 2^20 each); a point beyond is turned in extended precision only.
constexpr std::int32_t EstimatedUpTo = 1 << 20;

// TurnExtended's result where doubles decide each of its roundings.
std::optional<Vec3i> TurnEstimated(const Vec3i& p, const Turn& t) {
  const auto small = [](std::int32_t v) { return v <= EstimatedUpTo && v >= -EstimatedUpTo; };
  if (!small(p.x) || !small(p.y) || !small(p.z)) return std::nullopt;
  const double x = p.x, y = p.y, z = p.z;
  const double y1 = y * t.cos1_d - z * t.sin1_d;
  const double z1 = y * t.sin1_d + z * t.cos1_d;
  const auto rx = RoundClearOfHalf(x * t.cos2_d + z1 * t.sin2_d);
  const auto ry = RoundClearOfHalf(y1);
  const auto rz = RoundClearOfHalf(z1 * t.cos2_d - x * t.sin2_d);
  if (!rx || !ry || !rz) return std::nullopt;
  return Vec3i{*rx, *ry, *rz};
}

// Every intermediate kept in extended precision (decided by the estimate
// where it can be).
Vec3i TurnExtended(const Vec3i& p, const Turn& t) {
  if (const auto estimated = TurnEstimated(p, t)) return *estimated;
  const Extended x = p.x, y = p.y, z = p.z;
  const Extended y1 = y * t.cos1 - z * t.sin1;  // about x: +y towards +z
  const Extended z1 = y * t.sin1 + z * t.cos1;
  const Extended x2 = x * t.cos2 + z1 * t.sin2;  // about y: +z towards +x
  const Extended z2 = z1 * t.cos2 - x * t.sin2;
  return {RoundEven(x2), RoundEven(y1), RoundEven(z2)};
}

// Each intermediate stored as a double right after it is formed.
Vec3i TurnStoringDoubles(const Vec3i& p, const Turn& t) {
  const Extended x = p.x, y = p.y, z = p.z;
  const double y1 = static_cast<double>(y * t.cos1 - z * t.sin1);
  const double z1 = static_cast<double>(y * t.sin1 + z * t.cos1);
  const double x2 = static_cast<double>(x * t.cos2 + z1 * t.sin2);
  const double z2 = static_cast<double>(z1 * t.cos2 - x * t.sin2);
  return {RoundEven(x2), RoundEven(y1), RoundEven(z2)};
}

template <int N>
void TurnAll(const OneBased<Vec3i, N>& model, OneBased<Vec3i, N>& view, const Turn& t) {
  for (int i = 1; i <= N; ++i) view[i] = TurnStoringDoubles(model[i], t);
}

}  // namespace

double ViewAngleFor(int position) {
  return static_cast<double>(-static_cast<Extended>(position) * Pi / DegreesPerHalfTurn);
}

void RotateTrajectories(Scene& scene, Extended angle1, Extended angle2) {
  const Turn t = TurnFor(angle1, angle2);
  // The counts are bounded by the storage; clamping keeps a damaged count
  // from turning points beyond it.
  const int paths = std::clamp(scene.TrajectoryTotal, 0, MaxPaths);
  for (int p = 1; p <= paths; ++p)
    for (int i = 1, n = std::clamp(scene.TrajectoryCount[p], 0, MaxSamples); i <= n; ++i)
      scene.TrajectoryView[p][i] = TurnExtended(scene.TrajectoryPoints[p][i], t);
}

void RotateApparatus(Scene& scene, double angle1, double angle2) {
  const Turn t = TurnFor(angle1, angle2);
  TurnAll(scene.PlatePoints, scene.PlateView, t);
  TurnAll(scene.SourcePoints, scene.SourceView, t);
  TurnAll(scene.CoilPoints, scene.CoilView, t);
  TurnAll(scene.ScreenRing, scene.ScreenRingView, t);
  TurnAll(scene.RearRing, scene.RearRingView, t);
  scene.ScreenCentreView = TurnStoringDoubles(scene.ScreenCentre, t);
  // The tube's edge lines turn only with the second angle.
  const Turn edges = TurnFor(0, angle2);
  TurnAll(scene.TubeEdgePoints, scene.TubeEdgeView, edges);
}

}  // namespace varek
