// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screen_fit.h"

#include <gtest/gtest.h>

namespace varek {
namespace {

const QSize kForm(1051, 893);

// The room a window has on common screens (available area less the frame),
// the scale it gets and the window that results, which must fit the room.
TEST(ScreenFitTest, ScalesDownOnlyWhereTheFormDoesNotFit) {
  struct Row {
    QSize screen;
    double scale;
    QSize window;
  };
  const Row rows[] = {
      {{1024, 768}, 730.0 / 893, {860, 730}}, {{1280, 720}, 682.0 / 893, {803, 682}},
      {{1366, 768}, 730.0 / 893, {860, 730}}, {{1280, 1024}, 1.0, {1051, 893}},
      {{3840, 2160}, 1.0, {1051, 893}},
  };
  for (const Row& row : rows) {
    const QSize room = QRect(QPoint(0, 0), row.screen).marginsRemoved(kNominalFrame).size();
    const double scale = EffectiveScale(1.0, FitScale(room, kForm));
    EXPECT_DOUBLE_EQ(scale, row.scale) << row.screen.width() << "x" << row.screen.height();
    const QSize window = ScaledSize(kForm, scale);
    EXPECT_EQ(window, row.window);
    EXPECT_LE(window.width(), room.width());
    EXPECT_LE(window.height(), room.height());
  }
}

TEST(ScreenFitTest, ZoomStepsClimbAndStopAtTheEnds) {
  EXPECT_EQ(NextZoomStep(1.0), 1.25);
  EXPECT_EQ(NextZoomStep(0.82), 1.0);  // from a fitted scale to the next step
  EXPECT_EQ(NextZoomStep(4.0), 4.0);
  EXPECT_EQ(PreviousZoomStep(1.0), 0.75);
  EXPECT_EQ(PreviousZoomStep(0.82), 0.75);
  EXPECT_EQ(PreviousZoomStep(0.5), 0.5);
  EXPECT_EQ(PreviousZoomStep(1.2500000001), 1.0);
  EXPECT_TRUE(IsZoomStep(2.0));
  EXPECT_FALSE(IsZoomStep(1.1));
}

TEST(ScreenFitTest, PlacesAWindowThatFitsWhollyOnTheScreen) {
  struct Row {
    QRect client, area, placed;
  };
  const Row rows[] = {
      // the form's restored place sticks out below a 1280 x 1024 screen
      {{124, 216, 1051, 893}, {0, 0, 1280, 1024}, {124, 123, 1051, 893}},
      // already inside: unchanged
      {{124, 216, 1051, 893}, {0, 0, 1920, 1200}, {124, 216, 1051, 893}},
      // left of and above an area with a panel at the top
      {{-50, 0, 400, 300}, {0, 40, 1024, 728}, {8, 70, 400, 300}},
      // larger than the area: its top-left corner at the area's
      {{124, 216, 1051, 893}, {0, 0, 800, 600}, {8, 30, 1051, 893}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PlaceOnScreen(row.client, row.area, kNominalFrame), row.placed);
  }
}

}  // namespace
}  // namespace varek
