// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/scene.h"

namespace varek {

namespace {

constexpr Extended TwiceSpecificCharge = 2 * SpecificCharge;  // C/kg

// The coil's accumulator advances 2 pi / 500 a point, the rims' 2 pi / 299,
// so point 300 of a rim closes its circle.
constexpr Extended CoilStepAngle = 2 * Pi / 500;  // rad
constexpr Extended RingStepAngle = 2 * Pi / 299;  // rad
constexpr Extended RingRadius = TubeRadius;       // scene units

constexpr Vec3i ScreenCentrePoint{ScreenX, 0, 0};
// Ends of the tube's two edge lines: upper line [1]-[3], lower line [2]-[4].
constexpr Vec3i TubeEdgeCorners[TubeEdgePointCount] = {{ScreenX, TubeRadius, 0},
                                                       {ScreenX, -TubeRadius, 0},
                                                       {RearX, TubeRadius, 0},
                                                       {RearX, -TubeRadius, 0}};

std::int32_t ToSceneUnits(Extended metres) { return RoundEven(metres * UnitsPerMetre); }

// Fills `ring` at the plane x = `x`, advancing the shared angle accumulator.
void FillRing(RingArray& ring, std::int32_t x, double& angle) {
  for (int k = 1; k <= RingPointCount; ++k) {
    const Extended a = angle;
    ring[k] = {x, RoundEven(RingRadius * Sin(a)), RoundEven(RingRadius * Cos(a))};
    angle = static_cast<double>(angle + RingStepAngle);  // sum in extended, stored as a double
  }
}

void BuildCoilAndRings(Scene& scene) {
  // The accumulator is a double on purpose: each step is summed in extended
  // precision and rounded back to double, which fixes the points to the bit.
  double angle = 0;
  for (int i = 1; i <= CoilPointCount; ++i) {
    const Extended a = angle;
    const std::int32_t x = ToSceneUnits(i * CoilStepX + GunX);  // the coil starts at the gun
    scene.CoilPoints[i] = {x, RoundEven(CoilRadius * Sin(a)), RoundEven(CoilRadius * Cos(a))};
    angle = static_cast<double>(angle + CoilStepAngle);  // sum in extended, stored as a double
  }
  // The rings go on from where the coil left the accumulator (about 20 pi).
  FillRing(scene.ScreenRing, ScreenX, angle);
  FillRing(scene.RearRing, RearX, angle);
}

}  // namespace

Extended BeamSpeedFor(int volts) {
  return Sqrt(static_cast<Extended>(volts) * TwiceSpecificCharge);  // v = sqrt(2 (e/m) U)
}

void StartUpScene(Scene& scene, int volts) {
  scene.BeamSpeed = BeamSpeedFor(volts);
  scene.SourcePoints[1] = {ToSceneUnits(GunX), 0, 0};
  scene.PerspectiveFactor = 1;
  BuildCoilAndRings(scene);
}

void InitApparatus(Scene& scene) {
  const std::int32_t corner_x[4] = {PlateFrontX, PlateFrontX, PlateBackX, PlateBackX};
  const std::int32_t corner_z[4] = {PlateHalfWidthZ, -PlateHalfWidthZ, -PlateHalfWidthZ,
                                    PlateHalfWidthZ};
  for (int c = 0; c < 4; ++c) {
    scene.PlatePoints[c + 1] = {corner_x[c], PlateY, corner_z[c]};   // upper plate
    scene.PlatePoints[c + 5] = {corner_x[c], -PlateY, corner_z[c]};  // lower plate
  }
  scene.ScreenCentre = ScreenCentrePoint;
  for (int e = 1; e <= TubeEdgePointCount; ++e) scene.TubeEdgePoints[e] = TubeEdgeCorners[e - 1];
}

}  // namespace varek
