// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Physical constants and the apparatus, each stated once.
//
// Lengths of the picture are in scene units (6300 per metre); the integration
// works in metres. A length in metres derived from one in scene units is the
// extended quotient, which is the nearest extended value to the decimal
// length (tests pin the bits).
#pragma once

#include <cstdint>

#include "model/extended.h"

namespace varek {

// Physics.
inline constexpr Extended SpecificCharge = 0xa.3cd8a69ep+34L;  // C/kg, e/m = 1.758820174e11
inline constexpr Extended VacuumPermeability =
    0xa.8a9b87bd46c4e76p-23L;                                       // V s/(A m), 1.256637061e-6
inline constexpr int CoilTurns = 2000;                              // n
inline constexpr Extended CoilLength = 0xc.ccccccccccccccdp-5L;     // m, L = 0.4
inline constexpr Extended PlateToScreen = 0xc.28f5c28f5c28f5cp-7L;  // m, s = 0.095
inline constexpr Extended MilliampsPerAmp = 1000;                   // mA/A

// Scene units.
inline constexpr int UnitsPerMetre = 6300;
constexpr Extended ToMetres(std::int32_t units) {
  return static_cast<Extended>(units) / UnitsPerMetre;
}

// The tube along x: gun end at -315, screen at +315, rims of radius 140.
inline constexpr std::int32_t RearX = -315;      // scene units, gun end (x = -0.05 m)
inline constexpr std::int32_t ScreenX = 315;     // scene units, plane of the screen (x = +0.05 m)
inline constexpr std::int32_t TubeRadius = 140;  // scene units, drawn rims and edges
// m; the wall the electrons meet lies a little inside the drawn 140 units
// (0.0222222 m): 0.02222
inline constexpr Extended TubeInnerRadius = 0xb.606b7aa25d8d79dp-9L;

// Where every path starts, on the axis at the gun end.
inline constexpr Extended GunX = ToMetres(RearX);
// m; the electrons leave the field past the screen plane.
inline constexpr Extended ScreenPlaneX = ToMetres(ScreenX);

// Deflection plates, drawn from -314 to -251 in x, 2 cm wide in z, at y = +-27.
inline constexpr std::int32_t PlateFrontX = -314;    // scene units, gun side
inline constexpr std::int32_t PlateBackX = -251;     // scene units, screen side
inline constexpr std::int32_t PlateHalfWidthZ = 63;  // scene units
inline constexpr std::int32_t PlateY = 27;           // scene units, upper plate; lower at -27
// The deflecting field acts below x = -252 units (-0.04 m).
inline constexpr Extended FieldRegionEndX = ToMetres(-252);
// Electrons collide with a plate below x = -0.0393 m, beyond |y| = 27 units.
inline constexpr Extended PlateEndX = -0xa.0f9096bb98c7e28p-8L;                // m, -0.0393
inline constexpr double PlateHalfGap = static_cast<double>(ToMetres(PlateY));  // m, as a double

// The drawn coil: ten turns of radius 200 over the tube's 0.1 m, 500 points a turn.
inline constexpr int CoilPointCount = 5000;
inline constexpr Extended CoilRadius = 200;                                        // scene units
inline constexpr Extended CoilStepX = ToMetres(ScreenX - RearX) / CoilPointCount;  // m, 2e-5

inline constexpr Extended Pi = 0xc.90fdaa22168c235p-2L;

}  // namespace varek
