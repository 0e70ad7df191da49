// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/beam_marks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/simulation.h"

namespace varek {
namespace {

// In the side view a point (x, y, 0) lands on pixel (360 + x, 220 - y); the
// screen's centre (315, 0, 0) on (675, 220). Each path ends at (315, y, 0).
TEST(BeamMarks, TellDistancesFromEachOtherAndFromTheScreensCentre) {
  struct Case {
    int paths;
    bool hit;
    int end1, end2;  // y of the last sample of paths 1 and 2
    const char* text;
  };
  const Case cases[] = {
      {0, true, 0, 0, "Noch keine Elektronenbahn berechnet."},
      {1, true, 0, 0, "Die Marke liegt im Mittelpunkt des Schirms."},
      {1, true, 3, 0, "Die Marke liegt 3 Pixel vom Mittelpunkt des Schirms."},
      {2, true, 12, -12,
       "Die Marken liegen 24 Pixel auseinander, je 12 Pixel vom Mittelpunkt des Schirms."},
      {2, true, 12, -5,
       "Die Marken liegen 17 Pixel auseinander, 5 und 12 Pixel vom Mittelpunkt des Schirms."},
      {2, true, 0, 0, "Die Marken fallen im Mittelpunkt des Schirms zusammen."},
      {2, true, 7, 7, "Die Marken fallen zusammen, 7 Pixel vom Mittelpunkt des Schirms."},
      {1, false, 90, 0,
       "Die Marke liegt nicht auf dem Schirm: das Elektron trifft die Röhrenwand oder eine "
       "Platte."},
      {2, false, 90, -90,
       "Die Marken liegen nicht auf dem Schirm: die Elektronen treffen die Röhrenwand oder eine "
       "Platte."},
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.turn_axis = 0;
    settings.turn_vertical = 0;
    Simulation simulation(settings);
    Scene& scene = simulation.model().mutable_scene();
    scene.TrajectoryTotal = c.paths;
    scene.ScreenHit = c.hit;
    const int ends[] = {c.end1, c.end2};
    for (int p = 1; p <= c.paths; ++p) {
      scene.TrajectoryPoints[p][1] = {-300, 0, 0};
      scene.TrajectoryPoints[p][2] = {315, ends[p - 1], 0};
      scene.TrajectoryCount[p] = 2;
    }
    simulation.RenderScene(settings);
    EXPECT_EQ(DescribeBeamMarks(simulation.scene()), c.text)
        << c.paths << " " << c.end1 << " " << c.end2;
  }
}

// The tone rises an octave for every 100 pixels by which the marks come
// closer to each other and to the centre, and is silent off the screen.
TEST(BeamMarks, ToneRisesAsTheMarksMeetAtTheCentre) {
  const struct {
    MarkPlaces places;
    MarkTone tone;
  } cases[] = {
      {{2, false, 0, 0, 0}, {true, 0, false}},
      {{2, true, 0, 0, 0}, {false, 880, true}},
      {{2, true, 1, 0, 1}, {false, 880 / std::exp2(0.02), true}},
      {{2, true, 40, 30, 60}, {false, 440, false}},
      {{2, true, 100, 100, 200}, {false, 220, false}},
      {{2, true, 400, 300, 700}, {false, 220, false}},
      {{1, true, 50, 0, 0}, {false, 880 / std::exp2(0.5), false}},
  };
  for (const auto& c : cases) {
    const MarkTone tone = ToneFor(c.places);
    EXPECT_EQ(tone.silent, c.tone.silent) << c.places.apart;
    EXPECT_NEAR(tone.hertz, c.tone.hertz, 1e-9) << c.places.apart;
    EXPECT_EQ(tone.met, c.tone.met) << c.places.apart;
  }
}

}  // namespace
}  // namespace varek
