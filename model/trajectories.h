// Integration of the electron paths.
//
// Equation of motion in the uniform axial field of the coil, with the
// deflecting acceleration a between the plates (x < -0.04 m):
//   dvx/dt = 0,  dvy/dt = vz * omega + a,  dvz/dt = -vy * omega,
// omega = (e/m) * B = I * (e/m) * mu0 * N / L.
#pragma once

namespace varek {

// Integrates the path(s) for the settings of the bound controls and stores
// them in TrajectoryPoints / TrajectoryCount; ends each path at the screen
// plane, the tube wall, a plate or the step limit. Pumps the bound message
// pump every 30 steps.
//
// A call made while another call is running (from inside its pump) does not
// compute: it marks the running computation as stale and returns at once. The
// running computation then starts again from the settings in force once it
// has finished, so the stored paths are always those of one computation and
// the last one follows the latest settings.
void ComputeTrajectories();

// True while a ComputeTrajectories call is running (pumping).
bool ComputationRunning();

// End test: true when (x, y, z), in metres, lies on or outside the tube wall
// or, in the plate region, beyond a plate. Sets ScreenHit to the negation.
bool HitsObstacle(double x, double y, double z);

}  // namespace varek
