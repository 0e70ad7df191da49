// The scene: plain global storage of fixed capacity, zero-filled before the
// window exists and kept for the life of the process.
//
// Axes: x is the common axis of tube and coil (electrons start at x = -315 and
// fly towards the screen at x = +315), y is across the deflection plates
// (plates at y = +27 and y = -27), z completes the frame. Every array is
// numbered from 1. Model arrays are written by the start-up, InitApparatus and
// ComputeTrajectories; their view copies only by the view rotation.
#pragma once

#include <cstdint>

#include "model/extended.h"
#include "model/one_based.h"
#include "model/vec3i.h"

namespace varek {

inline constexpr int UnitsPerMetre = 6300;  // scene units per metre
inline constexpr Extended GunX = -0.05L;     // m, where every path starts on the axis

inline constexpr int MaxPaths = 6;         // path slots; only paths 1 and 2 are ever filled
inline constexpr int MaxSamples = 2000;    // samples per path; one computation stores at most 1987
inline constexpr int CoilPointCount = 5000;  // ten turns of 500 points
inline constexpr int RingPointCount = 300;   // 299 steps, point 300 repeats point 1
inline constexpr int PlateCornerCount = 8;   // corners 1-4 upper plate, 5-8 lower plate
inline constexpr int TubeEdgePointCount = 4;

using Path = OneBased<Vec3i, MaxSamples>;
using PathTable = OneBased<Path, MaxPaths>;
using CoilArray = OneBased<Vec3i, CoilPointCount>;
using RingArray = OneBased<Vec3i, RingPointCount>;
using PlateArray = OneBased<Vec3i, PlateCornerCount>;
using SourceArray = OneBased<Vec3i, 1>;
using TubeEdgeArray = OneBased<Vec3i, TubeEdgePointCount>;

// Model arrays and their view copies.
extern PathTable TrajectoryPoints, TrajectoryView;
extern CoilArray CoilPoints, CoilView;
extern RingArray ScreenRing, ScreenRingView;  // rim of the screen, x = +315, radius 140
extern RingArray RearRing, RearRingView;      // rim at the gun end, x = -315, radius 140
extern PlateArray PlatePoints, PlateView;
extern SourceArray SourcePoints, SourceView;  // the beam origin
extern Vec3i ScreenCentre, ScreenCentreView;
extern TubeEdgeArray TubeEdgePoints, TubeEdgeView;

// Scalars shared by the integration, the rotation, the renderer and the
// window's handlers.
extern OneBased<std::int32_t, MaxPaths> TrajectoryCount;  // valid samples of each path
extern std::int32_t TrajectoryTotal;   // paths of the latest computation, 1 or 2 (0 before the first)
extern std::uint8_t TrajectoryIndex;   // path under computation
extern std::int32_t StepCounter;       // steps of the path under computation; >= 100000 stops it
extern Extended BeamSpeed;             // m/s after acceleration
extern Extended StartX, StartY, StartZ;           // m, start point of every path
extern Extended VelocityX, VelocityY, VelocityZ;  // m/s, electron under integration
extern bool ScreenHit;                 // outcome of the latest end test: true = clear of wall and plates
extern double ViewAngle1, ViewAngle2;  // radians, set by the renderer before every drawing
extern std::uint8_t PerspectiveFactor; // 1, never changed after start-up
extern bool CoilVisible;
extern std::uint8_t PathWidth;         // pen width of the drawn paths, 1 or 2

// Speed after acceleration through `volts`: sqrt(U * 2 e/m) in extended precision.
Extended BeamSpeedFor(int volts);

// Model start-up, steps 1-5: path number and cleared path storage, BeamSpeed
// from ScrollBar4 of the bound controls, start point, beam origin, PathWidth,
// CoilVisible and PerspectiveFactor.
void StartUpModel();
// Model start-up, step 6: the coil helix, then the screen ring, then the rear ring.
void BuildCoilAndRings();

// Rewrites the plate corners, the screen centre and the tube edge points.
void InitApparatus();
// Zeroes every point of TrajectoryPoints and TrajectoryView; counts are kept.
void ClearTrajectories();

// Returns every array and scalar to the zero state the process starts in.
// For tests and tools that need a fresh scene.
void ResetScene();

}  // namespace varek
