// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the end marks of the paths lie in the scene picture, relative to the
// picture of the screen's centre, as a short German sentence: what the
// browser edition tells a screen reader after each picture.
#pragma once

#include <string>

#include "model/scene.h"

namespace varek {

// Where the end marks of the latest computation lie: distances are picture
// pixels between the marks' centres, rounded. Reads the view copies: call it
// after the scene was turned and drawn.
struct MarkPlaces {
  int marks = 0;               // 0 before the first computation, 1 without deflection, else 2
  bool on_screen = false;      // the electrons reach the screen
  long first = 0, second = 0;  // each mark from the screen's centre (second: 2 marks only)
  long apart = 0;              // between the two marks
};
MarkPlaces PlaceMarks(const Scene& scene);

std::string DescribeBeamMarks(const Scene& scene);

// The tone that lets the marks be heard: its pitch rises as the marks come
// together at the screen's centre, from 220 Hz far apart to 880 Hz where
// they meet; where they meet the tone is "met" (the page and the window play
// it as a distinct sound). Silent while no mark lies on the screen.
struct MarkTone {
  bool silent = true;
  double hertz = 0;
  bool met = false;
};
MarkTone ToneFor(const MarkPlaces& places);

}  // namespace varek
