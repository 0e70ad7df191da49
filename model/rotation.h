// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Turning model points into view points.
//
// A point is turned by a1 about the x axis (+y towards +z), then by a2 about
// the y axis (+z towards +x):
//   y' = y cos a1 - z sin a1,  z1 = y sin a1 + z cos a1,
//   x' = x cos a2 + z1 sin a2, z' = z1 cos a2 - x sin a2.
#pragma once

#include "model/extended.h"
#include "model/scene.h"

namespace varek {

// View angle in radians for a view scroll-bar position: -(position) * pi / 180,
// in extended precision, stored as a double.
double ViewAngleFor(int position);

// TrajectoryView of paths 1..TrajectoryTotal, points 1..TrajectoryCount[p];
// every intermediate kept in extended precision.
void RotateTrajectories(Scene& scene, Extended angle1, Extended angle2);

// Every apparatus view array; each intermediate is stored as a double. The
// tube edge points are turned by angle2 only.
void RotateApparatus(Scene& scene, double angle1, double angle2);

}  // namespace varek
