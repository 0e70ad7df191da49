#include "model/scene.h"

#include <cmath>

#include "model/controls.h"

namespace varek {

PathTable TrajectoryPoints, TrajectoryView;
CoilArray CoilPoints, CoilView;
RingArray ScreenRing, ScreenRingView;
RingArray RearRing, RearRingView;
PlateArray PlatePoints, PlateView;
SourceArray SourcePoints, SourceView;
Vec3i ScreenCentre, ScreenCentreView;
TubeEdgeArray TubeEdgePoints, TubeEdgeView;

OneBased<std::int32_t, MaxPaths> TrajectoryCount;
std::int32_t TrajectoryTotal = 0;
std::uint8_t TrajectoryIndex = 0;
std::int32_t StepCounter = 0;
Extended BeamSpeed = 0;
Extended StartX = 0, StartY = 0, StartZ = 0;
Extended VelocityX = 0, VelocityY = 0, VelocityZ = 0;
bool ScreenHit = false;
double ViewAngle1 = 0, ViewAngle2 = 0;
std::uint8_t PerspectiveFactor = 0;
bool CoilVisible = false;
std::uint8_t PathWidth = 0;

namespace {

constexpr Extended TwiceSpecificCharge = 3.517640348e11L;  // C/kg, 2 e/m of the electron

// Coil: ten turns of radius 200 from x = -315 to +315, 500 points per turn.
constexpr Extended CoilStepX = 2e-5L;   // m of axis per coil point (1 cm pitch / 500)
constexpr Extended CoilStartX = GunX;  // m, the coil starts at the gun end of the tube
constexpr Extended CoilRadius = 200;    // scene units
constexpr Extended CoilStepAngle = 0.012566370614359172954L;  // rad, 2 pi / 500

// Rims of the tube: 300 points, a 299th of a turn apart, so point 300 closes the circle.
constexpr Extended RingRadius = 140;  // scene units
constexpr Extended RingStepAngle = 0.02101399768287487116L;  // rad, 2 pi / 299
constexpr std::int32_t ScreenX = 315;  // scene units, plane of the screen (x = +0.05 m)
constexpr std::int32_t RearX = -315;   // scene units, gun end of the tube (x = -0.05 m)

// Deflection plates: 1 cm long in x, 2 cm wide in z, 54 units apart in y.
constexpr std::int32_t PlateFrontX = -314;  // scene units, gun side of the plates
constexpr std::int32_t PlateBackX = -251;   // scene units, screen side of the plates
constexpr std::int32_t PlateHalfWidthZ = 63;  // scene units
constexpr std::int32_t PlateY = 27;           // scene units, upper plate; the lower one at -27

constexpr Vec3i ScreenCentrePoint{ScreenX, 0, 0};
// Ends of the tube's two edge lines: upper line [1]-[3], lower line [2]-[4].
constexpr std::int32_t TubeRadius = 140;  // scene units
constexpr Vec3i TubeEdgeCorners[TubeEdgePointCount] = {
    {ScreenX, TubeRadius, 0}, {ScreenX, -TubeRadius, 0},
    {RearX, TubeRadius, 0},   {RearX, -TubeRadius, 0}};

std::int32_t ToSceneUnits(Extended metres) { return RoundEven(metres * UnitsPerMetre); }

// Fills `ring` at the plane x = `x`, advancing the shared angle accumulator.
void FillRing(RingArray& ring, std::int32_t x, double& angle) {
  for (int k = 1; k <= RingPointCount; ++k) {
    const Extended a = angle;
    ring[k] = {x, RoundEven(RingRadius * std::sin(a)), RoundEven(RingRadius * std::cos(a))};
    angle = angle + RingStepAngle;  // sum in extended, stored as a double
  }
}

template <typename T, int N>
void Zero(OneBased<T, N>& items) {
  for (int i = 1; i <= N; ++i) items[i] = T{};
}

}  // namespace

Extended BeamSpeedFor(int volts) {
  return std::sqrt(static_cast<Extended>(volts) * TwiceSpecificCharge);  // v = sqrt(2 (e/m) U)
}

void StartUpModel() {
  TrajectoryIndex = 1;
  ClearTrajectories();
  BeamSpeed = BeamSpeedFor(BoundControls().ScrollBar4());
  StartY = 0;
  StartZ = 0;
  StartX = GunX;
  SourcePoints[1] = {ToSceneUnits(StartX), ToSceneUnits(StartY), ToSceneUnits(StartZ)};
  PathWidth = 1;
  CoilVisible = false;
  PerspectiveFactor = 1;
}

void BuildCoilAndRings() {
  // The accumulator is a double on purpose: each step is summed in extended
  // precision and rounded back to double, which fixes the points to the bit.
  double angle = 0;
  for (int i = 1; i <= CoilPointCount; ++i) {
    const Extended a = angle;
    const std::int32_t x = ToSceneUnits(i * CoilStepX + CoilStartX);
    CoilPoints[i] = {x, RoundEven(CoilRadius * std::sin(a)), RoundEven(CoilRadius * std::cos(a))};
    angle = angle + CoilStepAngle;  // sum in extended, stored as a double
  }
  // The rings go on from where the coil left the accumulator (about 20 pi).
  FillRing(ScreenRing, ScreenX, angle);
  FillRing(RearRing, RearX, angle);
}

void InitApparatus() {
  const std::int32_t corner_x[4] = {PlateFrontX, PlateFrontX, PlateBackX, PlateBackX};
  const std::int32_t corner_z[4] = {PlateHalfWidthZ, -PlateHalfWidthZ, -PlateHalfWidthZ,
                                    PlateHalfWidthZ};
  for (int c = 0; c < 4; ++c) {
    PlatePoints[c + 1] = {corner_x[c], PlateY, corner_z[c]};   // upper plate
    PlatePoints[c + 5] = {corner_x[c], -PlateY, corner_z[c]};  // lower plate
  }
  ScreenCentre = ScreenCentrePoint;
  for (int e = 1; e <= TubeEdgePointCount; ++e) TubeEdgePoints[e] = TubeEdgeCorners[e - 1];
}

void ClearTrajectories() {
  for (int p = 1; p <= MaxPaths; ++p) {
    Zero(TrajectoryPoints[p]);
    Zero(TrajectoryView[p]);
  }
}

void ResetScene() {
  ClearTrajectories();
  Zero(CoilPoints);
  Zero(CoilView);
  Zero(ScreenRing);
  Zero(ScreenRingView);
  Zero(RearRing);
  Zero(RearRingView);
  Zero(PlatePoints);
  Zero(PlateView);
  Zero(SourcePoints);
  Zero(SourceView);
  ScreenCentre = ScreenCentreView = Vec3i{};
  Zero(TubeEdgePoints);
  Zero(TubeEdgeView);
  Zero(TrajectoryCount);
  TrajectoryTotal = 0;
  TrajectoryIndex = 0;
  StepCounter = 0;
  BeamSpeed = 0;
  StartX = StartY = StartZ = 0;
  VelocityX = VelocityY = VelocityZ = 0;
  ScreenHit = false;
  ViewAngle1 = ViewAngle2 = 0;
  PerspectiveFactor = 0;
  CoilVisible = false;
  PathWidth = 0;
}

}  // namespace varek
