// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>

#include "model_fixture.h"

namespace varek {
namespace {

using SceneTest = ModelTest;

TEST(RoundEvenTest, HalvesGoToTheEvenNeighbour) {
  const struct {
    Extended value;
    int rounded;
  } cases[] = {{-283.5L, -284}, {-220.5L, -220}, {0.5L, 0},      {1.5L, 2},
               {2.5L, 2},       {-0.5L, 0},      {314.49L, 314}, {-313.51L, -314}};
  for (const auto& c : cases) EXPECT_EQ(RoundEven(c.value), c.rounded) << (double)c.value;
}

TEST_F(SceneTest, CoilPointsOfTheHelix) {
  const struct {
    int index;
    Vec3i point;
  } cases[] = {{1, Point(-315, 0, 200)},
               {2, Point(-315, 3, 200)},
               {3, Point(-315, 5, 200)},
               {4, Point(-314, 8, 200)},
               {5000, Point(315, -3, 200)}};
  for (const auto& c : cases) EXPECT_EQ(sc.CoilPoints[c.index], c.point) << "point " << c.index;
}

TEST_F(SceneTest, CoilXAtExactAndNearHalves) {
  const struct {
    int index;
    int x;
  } cases[] = {{250, -284}, {750, -220}, {1250, -158}, {1750, -94}, {4250, 220},
               {4750, 284}, {2250, -32}, {2750, 31},   {3250, 94},  {3750, 158}};
  for (const auto& c : cases) EXPECT_EQ(sc.CoilPoints[c.index].x, c.x) << "point " << c.index;
}

TEST_F(SceneTest, CoilRunsOverEveryAxisUnitOnItsRadius) {
  int previous_x = -316;
  int distinct = 0;
  for (int i = 1; i <= CoilPointCount; ++i) {
    const Vec3i& p = sc.CoilPoints[i];
    ASSERT_GE(p.x, previous_x) << "point " << i;
    if (p.x != previous_x) ++distinct;
    previous_x = p.x;
    EXPECT_NEAR(std::hypot(p.y, p.z), 200.0, 1.0) << "point " << i;
  }
  EXPECT_EQ(distinct, 631);
  EXPECT_EQ(sc.CoilPoints[1].x, -315);
  EXPECT_EQ(sc.CoilPoints[CoilPointCount].x, 315);
}

TEST_F(SceneTest, RingsCloseOnTheirFirstPoint) {
  const struct {
    const RingArray* ring;
    int index;
    Vec3i point;
  } cases[] = {{&sc.ScreenRing, 1, Point(315, 0, 140)},   {&sc.ScreenRing, 2, Point(315, 3, 140)},
               {&sc.ScreenRing, 300, Point(315, 0, 140)}, {&sc.RearRing, 1, Point(-315, 3, 140)},
               {&sc.RearRing, 2, Point(-315, 6, 140)},    {&sc.RearRing, 300, Point(-315, 3, 140)}};
  for (const auto& c : cases) EXPECT_EQ((*c.ring)[c.index], c.point) << "point " << c.index;
  for (int k = 1; k <= RingPointCount; ++k) {
    EXPECT_NEAR(std::hypot(sc.ScreenRing[k].y, sc.ScreenRing[k].z), 140.0, 1.0) << k;
    EXPECT_NEAR(std::hypot(sc.RearRing[k].y, sc.RearRing[k].z), 140.0, 1.0) << k;
  }
}

TEST_F(SceneTest, ApparatusIsTheSameHoweverOftenItIsSet) {
  const Vec3i plates[] = {Point(-314, 27, 63),   Point(-314, 27, -63), Point(-251, 27, -63),
                          Point(-251, 27, 63),   Point(-314, -27, 63), Point(-314, -27, -63),
                          Point(-251, -27, -63), Point(-251, -27, 63)};
  const Vec3i edges[] = {Point(315, 140, 0), Point(315, -140, 0), Point(-315, 140, 0),
                         Point(-315, -140, 0)};
  for (int run = 1; run <= 3; ++run) {
    // Spoil what was there, as nothing else may decide the result.
    sc.PlatePoints[3] = sc.TubeEdgePoints[2] = sc.ScreenCentre = Point(7, 7, 7);
    model.InitApparatus();
    for (int c = 1; c <= PlateCornerCount; ++c) EXPECT_EQ(sc.PlatePoints[c], plates[c - 1]) << c;
    for (int e = 1; e <= TubeEdgePointCount; ++e)
      EXPECT_EQ(sc.TubeEdgePoints[e], edges[e - 1]) << e;
    EXPECT_EQ(sc.ScreenCentre, Point(315, 0, 0));
  }
}

TEST_F(SceneTest, StartUpState) {
  EXPECT_NEAR(static_cast<double>(sc.BeamSpeed), 20545482.27, 0.005);
  EXPECT_EQ(sc.SourcePoints[1], Point(-315, 0, 0));
  EXPECT_EQ(sc.PerspectiveFactor, 1);
  EXPECT_EQ(sc.TrajectoryTotal, 0);
  for (int p = 1; p <= MaxPaths; ++p) EXPECT_EQ(sc.TrajectoryCount[p], 0) << p;
}

TEST_F(SceneTest, BeamSpeedFollowsTheVoltage) {
  // v = sqrt(2 (e/m) U): doubling the speed takes four times the voltage.
  settings.voltage = 2000;
  const Extended at2000 = Model(settings).scene().BeamSpeed;
  EXPECT_NEAR(static_cast<double>(at2000 / BeamSpeedFor(500)), 2.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(at2000 * at2000 / 2000), 3.517640348e11, 1.0);
}

// Lengths derived from others keep the bits of the decimal values the
// model was first written with.
TEST(ConstantsTest, DerivedValuesKeepTheirBits) {
  static_assert(GunX == -0.05L && ScreenPlaneX == 0.05L && FieldRegionEndX == -0.04L);
  static_assert(CoilStepX == 2e-5L && CoilLength == 0.4L && TubeInnerRadius == 0.02222L);
  static_assert(PlateEndX == -0.0393L && PlateHalfGap == 0.004285714285714286);
  static_assert(SpecificCharge == 1.758820174e11L && VacuumPermeability == 1.256637061e-6L);
  static_assert(SpecificCharge * VacuumPermeability * CoilTurns == 442039722.85657372282L);
  static_assert(2 * Pi / 500 == 0.012566370614359172954L &&
                2 * Pi / 299 == 0.02101399768287487116L);
  EXPECT_EQ(BeamSpeedFor(1200), std::sqrt(1200 * 3.517640348e11L));
}

}  // namespace
}  // namespace varek
