// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <functional>
#include <utility>

#include "model/rotation.h"
#include "model_fixture.h"

namespace varek {
namespace {

using RotationTest = ModelTest;

TEST(ViewAngleTest, DegreesOfTheScrollBarsToRadians) {
  const struct {
    int position;
    double angle;
  } cases[] = {{5, -0.08726646259971647}, {-25, 0.4363323129985824}, {0, 0.0},
               {-90, 1.5707963267948966}, {90, -1.5707963267948966}, {-180, 3.141592653589793},
               {180, -3.141592653589793}};
  for (const auto& c : cases) EXPECT_EQ(ViewAngleFor(c.position), c.angle) << c.position;
}

TEST_F(RotationTest, ZeroAnglesKeepEveryPoint) {
  settings.current = 1000;
  settings.deflection_on = true;
  settings.steady = false;
  Compute();
  RotateTrajectories(sc, 0, 0);
  RotateApparatus(sc, 0, 0);
  for (int p = 1; p <= 2; ++p)
    for (int i = 1; i <= sc.TrajectoryCount[p]; ++i)
      ASSERT_EQ(sc.TrajectoryView[p][i], sc.TrajectoryPoints[p][i]) << p << "/" << i;
  for (int i = 1; i <= CoilPointCount; ++i) ASSERT_EQ(sc.CoilView[i], sc.CoilPoints[i]) << i;
  for (int k = 1; k <= RingPointCount; ++k) {
    ASSERT_EQ(sc.ScreenRingView[k], sc.ScreenRing[k]) << k;
    ASSERT_EQ(sc.RearRingView[k], sc.RearRing[k]) << k;
  }
  for (int c = 1; c <= PlateCornerCount; ++c) EXPECT_EQ(sc.PlateView[c], sc.PlatePoints[c]) << c;
  for (int e = 1; e <= TubeEdgePointCount; ++e) EXPECT_EQ(sc.TubeEdgeView[e], sc.TubeEdgePoints[e]);
  EXPECT_EQ(sc.SourceView[1], sc.SourcePoints[1]);
  EXPECT_EQ(sc.ScreenCentreView, sc.ScreenCentre);
}

TEST_F(RotationTest, InitialView) {
  model.InitApparatus();
  RotateApparatus(sc, ViewAngleFor(5), ViewAngleFor(-25));
  const struct {
    const Vec3i* view;
    Vec3i expected;
    const char* name;
  } cases[] = {{&sc.ScreenCentreView, Point(285, 0, -133), "screen centre"},
               {&sc.TubeEdgeView[1], Point(285, 140, -133), "tube edge 1"},
               {&sc.TubeEdgeView[2], Point(285, -140, -133), "tube edge 2"},
               {&sc.TubeEdgeView[3], Point(-285, 140, 133), "tube edge 3"},
               {&sc.TubeEdgeView[4], Point(-285, -140, 133), "tube edge 4"},
               {&sc.SourceView[1], Point(-285, 0, 133), "source"},
               {&sc.PlateView[1], Point(-259, 32, 187), "plate corner 1"}};
  for (const auto& c : cases) EXPECT_EQ(*c.view, c.expected) << c.name;

  // A path point at the first tube edge point turns with both angles.
  sc.TrajectoryTotal = 1;
  sc.TrajectoryCount[1] = 1;
  sc.TrajectoryPoints[1][1] = sc.TubeEdgePoints[1];
  RotateTrajectories(sc, ViewAngleFor(5), ViewAngleFor(-25));
  EXPECT_EQ(sc.TrajectoryView[1][1], Point(280, 139, -144));
}

TEST_F(RotationTest, AxisSwungSideways) {
  model.InitApparatus();
  RotateApparatus(sc, ViewAngleFor(0), ViewAngleFor(-90));
  EXPECT_EQ(sc.ScreenCentreView, Point(0, 0, -315));
  EXPECT_EQ(sc.CoilView[1], Point(200, 0, 315));
}

// Quarter and half turns map integer points onto integer points exactly.
TEST_F(RotationTest, QuarterTurnsPermuteTheAxes) {
  const struct {
    int bar1, bar2;
    std::function<Vec3i(const Vec3i&)> turn;
  } cases[] = {
      {-90, 0, [](const Vec3i& p) { return Point(p.x, -p.z, p.y); }},
      {90, 0, [](const Vec3i& p) { return Point(p.x, p.z, -p.y); }},
      {180, 0, [](const Vec3i& p) { return Point(p.x, -p.y, -p.z); }},
      {0, -90, [](const Vec3i& p) { return Point(p.z, p.y, -p.x); }},
      {0, -180, [](const Vec3i& p) { return Point(-p.x, p.y, -p.z); }},
      {-90, -90, [](const Vec3i& p) { return Point(p.y, -p.z, -p.x); }},
  };
  settings.current = 2000;
  settings.deflection_on = true;
  settings.amplitude = 150;
  Compute();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bar1 << ", " << c.bar2);
    const double a1 = ViewAngleFor(c.bar1), a2 = ViewAngleFor(c.bar2);
    RotateTrajectories(sc, a1, a2);
    RotateApparatus(sc, a1, a2);
    for (int i = 1; i <= sc.TrajectoryCount[1]; ++i)
      ASSERT_EQ(sc.TrajectoryView[1][i], c.turn(sc.TrajectoryPoints[1][i])) << i;
    for (int i = 1; i <= CoilPointCount; ++i)
      ASSERT_EQ(sc.CoilView[i], c.turn(sc.CoilPoints[i])) << i;
    for (int k = 1; k <= PlateCornerCount; ++k)
      ASSERT_EQ(sc.PlateView[k], c.turn(sc.PlatePoints[k]));
  }
}

TEST_F(RotationTest, TurningKeepsDistancesFromTheOrigin) {
  const double a1 = ViewAngleFor(37), a2 = ViewAngleFor(-123);
  RotateApparatus(sc, a1, a2);
  for (int i = 1; i <= CoilPointCount; ++i) {
    const Vec3i& m = sc.CoilPoints[i];
    const Vec3i& v = sc.CoilView[i];
    ASSERT_NEAR(std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z),
                std::sqrt(double(m.x) * m.x + double(m.y) * m.y + double(m.z) * m.z), 1.0)
        << i;
  }
}

TEST_F(RotationTest, OnlyStoredSamplesOfComputedPathsAreTurned) {
  const Vec3i untouched = Point(1, 2, 3);
  sc.TrajectoryView[1][1] = sc.TrajectoryView[2][1] = sc.TrajectoryView[2][2] = untouched;
  sc.TrajectoryPoints[1][1] = sc.TrajectoryPoints[2][1] = sc.TrajectoryPoints[2][2] =
      Point(100, 50, 0);
  // Before the first computation no path exists.
  ASSERT_EQ(sc.TrajectoryTotal, 0);
  RotateTrajectories(sc, 0.5L, 0.5L);
  EXPECT_EQ(sc.TrajectoryView[1][1], untouched);

  // Path 1 with no samples is skipped; path 2 is turned up to its count.
  sc.TrajectoryTotal = 2;
  sc.TrajectoryCount[1] = 0;
  sc.TrajectoryCount[2] = 1;
  RotateTrajectories(sc, 0, ViewAngleFor(-90));
  EXPECT_EQ(sc.TrajectoryView[1][1], untouched);
  EXPECT_EQ(sc.TrajectoryView[2][1], Point(0, 50, -100));
  EXPECT_EQ(sc.TrajectoryView[2][2], untouched);
}

// A damaged path total or count must not turn points beyond the storage (the
// sanitizer build sees any write past the arrays).
TEST_F(RotationTest, CountsBeyondTheStorageAreClamped) {
  sc.TrajectoryTotal = MaxPaths + 3;
  for (int p = 1; p <= MaxPaths; ++p) {
    sc.TrajectoryCount[p] = MaxSamples + 500;
    sc.TrajectoryPoints[p][MaxSamples] = Point(100, 50, 0);
  }
  sc.TrajectoryCount[2] = -7;
  sc.TrajectoryView[2][1] = Point(1, 2, 3);
  RotateTrajectories(sc, 0, ViewAngleFor(-90));
  EXPECT_EQ(sc.TrajectoryView[MaxPaths][MaxSamples], Point(0, 50, -100));
  EXPECT_EQ(sc.TrajectoryView[2][1], Point(1, 2, 3));
}

// Doubles decide a turned coordinate only where it lies clear of a half:
// every point comes out as the extended computation turns it, also where
// the turn lands on or next to a half (odd coordinates at 60 and 120
// degrees) and beyond the range the doubles take (2^20).
TEST_F(RotationTest, EveryTurnedPointIsTheExtendedTurn) {
  const auto extended_turn = [](const Vec3i& p, Extended a1, Extended a2) {
    const Extended x = p.x, y = p.y, z = p.z;
    const Extended y1 = y * Cos(a1) - z * Sin(a1), z1 = y * Sin(a1) + z * Cos(a1);
    return Point(RoundEven(x * Cos(a2) + z1 * Sin(a2)), RoundEven(y1),
                 RoundEven(z1 * Cos(a2) - x * Sin(a2)));
  };
  sc.TrajectoryTotal = MaxPaths;
  int n = 0;
  for (int p = 1; p <= MaxPaths; ++p) {
    sc.TrajectoryCount[p] = MaxSamples;
    for (int i = 1; i <= MaxSamples; ++i, ++n) {
      const int far = n % 97 == 0 ? (1 << 21) + n : 0;
      sc.TrajectoryPoints[p][i] =
          Point(n % 631 - 315 + far, (n * 7) % 561 - 280, (n * 13) % 281 - 140);
    }
  }
  for (const auto& [bar1, bar2] :
       {std::pair{5, -25}, {-60, -30}, {60, -120}, {-120, -60}, {37, -123}}) {
    const Extended a1 = ViewAngleFor(bar1), a2 = ViewAngleFor(bar2);
    RotateTrajectories(sc, a1, a2);
    for (int p = 1; p <= MaxPaths; ++p)
      for (int i = 1; i <= MaxSamples; ++i)
        ASSERT_EQ(sc.TrajectoryView[p][i], extended_turn(sc.TrajectoryPoints[p][i], a1, a2))
            << bar1 << ", " << bar2 << ": " << p << "/" << i;
  }
}

}  // namespace
}  // namespace varek
