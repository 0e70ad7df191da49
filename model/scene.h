// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The scene: every point and scalar that the integration, the rotation and
// the renderer share, as one value. A fresh Scene is the zero state a
// simulation starts from.
//
// Axes: x is the common axis of tube and coil (electrons start at x = -315 and
// fly towards the screen at x = +315), y is across the deflection plates
// (plates at y = +27 and y = -27), z completes the frame. Every array is
// numbered from 1. Model arrays are written by the start-up, InitApparatus and
// the integration; their view copies only by the view rotation.
#pragma once

#include <cstdint>

#include "model/constants.h"
#include "model/extended.h"
#include "model/one_based.h"
#include "model/vec3i.h"

namespace varek {

inline constexpr int MaxPaths = 6;          // path slots; only paths 1 and 2 are ever filled
inline constexpr int MaxSamples = 2000;     // samples per path; one computation stores at most 1987
inline constexpr int RingPointCount = 300;  // 299 steps, point 300 repeats point 1
inline constexpr int PlateCornerCount = 8;  // corners 1-4 upper plate, 5-8 lower plate
inline constexpr int TubeEdgePointCount = 4;

using Path = OneBased<Vec3i, MaxSamples>;
using PathTable = OneBased<Path, MaxPaths>;
using CoilArray = OneBased<Vec3i, CoilPointCount>;
using RingArray = OneBased<Vec3i, RingPointCount>;
using PlateArray = OneBased<Vec3i, PlateCornerCount>;
using SourceArray = OneBased<Vec3i, 1>;
using TubeEdgeArray = OneBased<Vec3i, TubeEdgePointCount>;

// About half a megabyte: keep it on the heap.
struct Scene {
  // Model arrays and their view copies.
  PathTable TrajectoryPoints, TrajectoryView;
  CoilArray CoilPoints, CoilView;
  RingArray ScreenRing, ScreenRingView;  // rim of the screen, x = +315, radius 140
  RingArray RearRing, RearRingView;      // rim at the gun end, x = -315, radius 140
  PlateArray PlatePoints, PlateView;
  SourceArray SourcePoints, SourceView;  // the beam origin
  Vec3i ScreenCentre, ScreenCentreView;
  TubeEdgeArray TubeEdgePoints, TubeEdgeView;

  OneBased<std::int32_t, MaxPaths> TrajectoryCount;  // valid samples of each path
  std::int32_t TrajectoryTotal = 0;  // paths of the latest computation, 1 or 2 (0 before the first)
  std::int32_t StepCounter = 0;      // steps of the latest path computed
  Extended BeamSpeed = 0;            // m/s after acceleration, of the latest computation
  bool ScreenHit = false;  // outcome of the latest end test: true = clear of wall and plates
  double ViewAngle1 = 0, ViewAngle2 = 0;  // radians of the latest rotation
  std::uint8_t PerspectiveFactor = 0;     // 1 from the start-up on
};

// Speed after acceleration through `volts`: sqrt(U * 2 e/m) in extended precision.
Extended BeamSpeedFor(int volts);

// Start-up: path number and cleared paths, BeamSpeed for `volts`, beam origin,
// PerspectiveFactor; then the coil helix, the screen ring and the rear ring.
void StartUpScene(Scene& scene, int volts);

// Rewrites the plate corners, the screen centre and the tube edge points.
void InitApparatus(Scene& scene);

}  // namespace varek
