#include <cmath>

#include "model_fixture.h"

namespace varek {
namespace {

using SceneTest = ModelTest;

TEST(RoundEvenTest, HalvesGoToTheEvenNeighbour) {
  const struct {
    Extended value;
    int rounded;
  } cases[] = {{-283.5L, -284}, {-220.5L, -220}, {0.5L, 0}, {1.5L, 2}, {2.5L, 2},
               {-0.5L, 0},      {314.49L, 314},  {-313.51L, -314}};
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
  for (const auto& c : cases) EXPECT_EQ(CoilPoints[c.index], c.point) << "point " << c.index;
}

TEST_F(SceneTest, CoilXAtExactAndNearHalves) {
  const struct {
    int index;
    int x;
  } cases[] = {{250, -284}, {750, -220}, {1250, -158}, {1750, -94}, {4250, 220},
               {4750, 284}, {2250, -32}, {2750, 31},   {3250, 94},  {3750, 158}};
  for (const auto& c : cases) EXPECT_EQ(CoilPoints[c.index].x, c.x) << "point " << c.index;
}

TEST_F(SceneTest, CoilRunsOverEveryAxisUnitOnItsRadius) {
  int previous_x = -316;
  int distinct = 0;
  for (int i = 1; i <= CoilPointCount; ++i) {
    const Vec3i& p = CoilPoints[i];
    ASSERT_GE(p.x, previous_x) << "point " << i;
    if (p.x != previous_x) ++distinct;
    previous_x = p.x;
    EXPECT_NEAR(std::hypot(p.y, p.z), 200.0, 1.0) << "point " << i;
  }
  EXPECT_EQ(distinct, 631);
  EXPECT_EQ(CoilPoints[1].x, -315);
  EXPECT_EQ(CoilPoints[CoilPointCount].x, 315);
}

TEST_F(SceneTest, RingsCloseOnTheirFirstPoint) {
  const struct {
    const RingArray* ring;
    int index;
    Vec3i point;
  } cases[] = {{&ScreenRing, 1, Point(315, 0, 140)},   {&ScreenRing, 2, Point(315, 3, 140)},
               {&ScreenRing, 300, Point(315, 0, 140)}, {&RearRing, 1, Point(-315, 3, 140)},
               {&RearRing, 2, Point(-315, 6, 140)},    {&RearRing, 300, Point(-315, 3, 140)}};
  for (const auto& c : cases) EXPECT_EQ((*c.ring)[c.index], c.point) << "point " << c.index;
  for (int k = 1; k <= RingPointCount; ++k) {
    EXPECT_NEAR(std::hypot(ScreenRing[k].y, ScreenRing[k].z), 140.0, 1.0) << k;
    EXPECT_NEAR(std::hypot(RearRing[k].y, RearRing[k].z), 140.0, 1.0) << k;
  }
}

TEST_F(SceneTest, ApparatusIsTheSameHoweverOftenItIsSet) {
  const Vec3i plates[] = {Point(-314, 27, 63),  Point(-314, 27, -63),  Point(-251, 27, -63),
                          Point(-251, 27, 63),  Point(-314, -27, 63),  Point(-314, -27, -63),
                          Point(-251, -27, -63), Point(-251, -27, 63)};
  const Vec3i edges[] = {Point(315, 140, 0), Point(315, -140, 0), Point(-315, 140, 0),
                         Point(-315, -140, 0)};
  for (int run = 1; run <= 3; ++run) {
    // Spoil what was there, as nothing else may decide the result.
    PlatePoints[3] = TubeEdgePoints[2] = ScreenCentre = Point(7, 7, 7);
    InitApparatus();
    for (int c = 1; c <= PlateCornerCount; ++c) EXPECT_EQ(PlatePoints[c], plates[c - 1]) << c;
    for (int e = 1; e <= TubeEdgePointCount; ++e) EXPECT_EQ(TubeEdgePoints[e], edges[e - 1]) << e;
    EXPECT_EQ(ScreenCentre, Point(315, 0, 0));
  }
}

TEST_F(SceneTest, StartUpState) {
  EXPECT_NEAR(static_cast<double>(BeamSpeed), 20545482.27, 0.005);
  EXPECT_EQ(SourcePoints[1], Point(-315, 0, 0));
  EXPECT_EQ(StartX, -0.05L);
  EXPECT_EQ(StartY, 0.0L);
  EXPECT_EQ(StartZ, 0.0L);
  EXPECT_EQ(TrajectoryIndex, 1);
  EXPECT_EQ(PathWidth, 1);
  EXPECT_FALSE(CoilVisible);
  EXPECT_EQ(PerspectiveFactor, 1);
  EXPECT_EQ(TrajectoryTotal, 0);
  for (int p = 1; p <= MaxPaths; ++p) EXPECT_EQ(TrajectoryCount[p], 0) << p;
}

TEST_F(SceneTest, BeamSpeedFollowsTheVoltage) {
  // v = sqrt(2 (e/m) U): doubling the speed takes four times the voltage.
  controls.voltage = 2000;
  StartUpModel();
  const Extended at2000 = BeamSpeed;
  EXPECT_NEAR(static_cast<double>(at2000 / BeamSpeedFor(500)), 2.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(at2000 * at2000 / 2000), 3.517640348e11, 1.0);
}

TEST_F(SceneTest, ClearTrajectoriesZeroesPointsAndKeepsCounts) {
  for (int p = 1; p <= MaxPaths; ++p) {
    TrajectoryCount[p] = p * 100;
    TrajectoryPoints[p][1] = TrajectoryView[p][MaxSamples] = Point(p, -p, 3);
    TrajectoryPoints[p][MaxSamples / 2] = TrajectoryView[p][7] = Point(-9, 9, p);
  }
  ClearTrajectories();
  for (int p = 1; p <= MaxPaths; ++p) {
    EXPECT_EQ(TrajectoryCount[p], p * 100);
    for (int i = 1; i <= MaxSamples; ++i) {
      ASSERT_EQ(TrajectoryPoints[p][i], Vec3i{}) << p << "/" << i;
      ASSERT_EQ(TrajectoryView[p][i], Vec3i{}) << p << "/" << i;
    }
  }
}

TEST_F(SceneTest, ResetSceneReturnsToTheZeroState) {
  controls.current = 1000;
  Compute();
  ResetScene();
  EXPECT_EQ(CoilPoints[1], Vec3i{});
  EXPECT_EQ(RearRing[300], Vec3i{});
  EXPECT_EQ(PlatePoints[1], Vec3i{});
  EXPECT_EQ(TrajectoryPoints[1][1], Vec3i{});
  EXPECT_EQ(TrajectoryCount[1], 0);
  EXPECT_EQ(TrajectoryTotal, 0);
  EXPECT_EQ(StepCounter, 0);
  EXPECT_EQ(BeamSpeed, 0.0L);
  EXPECT_EQ(VelocityY, 0.0L);
  EXPECT_FALSE(ScreenHit);
}

}  // namespace
}  // namespace varek
