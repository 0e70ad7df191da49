// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Integration of the electron paths.
//
// Equation of motion in the uniform axial field of the coil, with the
// deflecting acceleration a between the plates (x < -0.04 m):
//   dvx/dt = 0,  dvy/dt = vz * omega + a,  dvz/dt = -vy * omega,
// omega = (e/m) * B = I * (e/m) * mu0 * N / L.
#pragma once

#include <limits>
#include <memory>

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

// The integration of the path(s) for `settings` into TrajectoryPoints and
// TrajectoryCount of `scene`, run in parts (the scene left alone between
// them): the same paths, to the bit, as in one run.
class PathIntegration {
 public:
  PathIntegration(Scene& scene, const Settings& settings, StepObserver& observer);
  ~PathIntegration();
  PathIntegration(const PathIntegration&) = delete;
  PathIntegration& operator=(const PathIntegration&) = delete;

  // Integrates on, for at most `samples` more samples of the paths; true
  // when every path is done.
  bool Continue(int samples = std::numeric_limits<int>::max());
  // Whether the observer ended a path.
  bool EndedByObserver() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Integrates the path(s) for `settings` into TrajectoryPoints and
// TrajectoryCount of `scene`; ends each path at the screen plane, the tube
// wall, a plate, the step limit, or when `observer` says so. Returns true when
// the observer ended a path.
bool IntegratePaths(Scene& scene, const Settings& settings, StepObserver& observer);

}  // namespace varek
