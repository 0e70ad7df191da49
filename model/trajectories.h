// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Integration of the electron paths.
//
// Equation of motion in the uniform axial field of the coil, with the
// deflecting acceleration a between the plates (x < -0.04 m):
//   dvx/dt = 0,  dvy/dt = vz * omega + a,  dvz/dt = -vy * omega,
// omega = (e/m) * B = I * (e/m) * mu0 * N / L.
#pragma once

#include "model/scene.h"
#include "model/settings.h"

namespace varek {

inline constexpr int StepsPerSample = 30;  // steps between two samples and between two pumps

// Called every 30 steps of a path. Returns true to end the path under
// computation there.
class StepObserver {
 public:
  virtual ~StepObserver() = default;
  virtual bool EndPathNow() = 0;
};

// Integrates the path(s) for `settings` into TrajectoryPoints and
// TrajectoryCount of `scene`; ends each path at the screen plane, the tube
// wall, a plate, the step limit, or when `observer` says so. Returns true when
// the observer ended a path.
bool IntegratePaths(Scene& scene, const Settings& settings, StepObserver& observer);

}  // namespace varek
