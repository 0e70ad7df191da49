// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rotation.h"

#include <algorithm>
#include <cmath>

namespace varek {

namespace {

constexpr Extended DegreesPerHalfTurn = 180;

// Sine and cosine of both angles, the same for every point of a call.
struct Turn {
  Extended sin1, cos1, sin2, cos2;
};

Turn TurnFor(Extended angle1, Extended angle2) {
  return {Sin(angle1), Cos(angle1), Sin(angle2), Cos(angle2)};
}

// Every intermediate kept in extended precision.
Vec3i TurnExtended(const Vec3i& p, const Turn& t) {
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

void RotateScene(Scene& scene, int turn_axis, int turn_vertical) {
  scene.ViewAngle1 = ViewAngleFor(turn_axis);
  scene.ViewAngle2 = ViewAngleFor(turn_vertical);
  RotateTrajectories(scene, scene.ViewAngle1, scene.ViewAngle2);
  RotateApparatus(scene, scene.ViewAngle1, scene.ViewAngle2);
}

}  // namespace varek
