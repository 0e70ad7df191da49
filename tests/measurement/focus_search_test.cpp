// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "measurement/focus_search.h"

namespace varek {
namespace {

// Every current below was also found by trying each current from (k - 1/2) to
// (k + 1/2) times the first ideal focus current.
TEST(FocusSearchTest, FocusCurrentsOfTheModel) {
  const struct {
    int voltage, order, amplitude;
    std::optional<int> milliamps;
  } cases[] = {
      {1200, 1, 200, 1230},
      {300, 1, 25, 613},
      {2000, 1, 100, 1579},
      {800, 2, 100, 2007},
      {150, 3, 10, 1298},
      {300, 1, 200, std::nullopt},   // the electrons enter the plates at every current
      {2000, 2, 200, std::nullopt},  // 3175 mA ideal: beyond the coil's 3000 mA
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindFocusCurrent(c.voltage, c.order, c.amplitude), c.milliamps)
        << c.voltage << " V, k = " << c.order << ", amplitude " << c.amplitude;
  }
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
  EXPECT_EQ(
      FindFocusCurrent(1000, 1, 150),
      ScanFocusCurrent(1000, 150, static_cast<int>(ideal * 0.85), static_cast<int>(ideal * 1.15)));
}

}  // namespace
}  // namespace varek
