// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/beam_marks.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/scene_renderer.h"

namespace varek {

namespace {

long Distance(const PixelPoint& a, const PixelPoint& b) {
  return std::lrint(std::hypot(static_cast<double>(a.x - b.x), static_cast<double>(a.y - b.y)));
}

std::string FromCentre(long pixels) {
  return std::to_string(pixels) + " Pixel vom Mittelpunkt des Schirms";
}

}  // namespace

MarkPlaces PlaceMarks(const Scene& scene) {
  // The marks that the renderer draws: on the last stored sample of paths 1
  // and 2 of the latest computation.
  std::vector<PixelPoint> marks;
  const int paths = std::clamp<int>(scene.TrajectoryTotal, 0, 2);
  for (int p = 1; p <= paths; ++p) {
    const int count = std::clamp<int>(scene.TrajectoryCount[p], 0, MaxSamples);
    if (count >= 1)
      marks.push_back(ProjectPoint(scene.TrajectoryView[p][count], scene.PerspectiveFactor));
  }
  MarkPlaces places;
  places.marks = static_cast<int>(marks.size());
  places.on_screen = !marks.empty() && scene.ScreenHit;
  if (!places.on_screen) return places;
  const PixelPoint centre = ProjectPoint(scene.ScreenCentreView, scene.PerspectiveFactor);
  places.first = Distance(marks[0], centre);
  if (marks.size() == 2) {
    places.second = Distance(marks[1], centre);
    places.apart = Distance(marks[0], marks[1]);
  }
  return places;
}

std::string DescribeBeamMarks(const Scene& scene) {
  const MarkPlaces places = PlaceMarks(scene);
  if (places.marks == 0) return "Noch keine Elektronenbahn berechnet.";
  const bool one = places.marks == 1;
  if (!places.on_screen) {
    return one ? "Die Marke liegt nicht auf dem Schirm: das Elektron trifft die Röhrenwand oder "
                 "eine Platte."
               : "Die Marken liegen nicht auf dem Schirm: die Elektronen treffen die Röhrenwand "
                 "oder eine Platte.";
  }
  const long first = places.first;
  if (one) {
    return first == 0 ? "Die Marke liegt im Mittelpunkt des Schirms."
                      : "Die Marke liegt " + FromCentre(first) + ".";
  }
  const long second = places.second;
  const long apart = places.apart;
  if (apart == 0) {
    return first == 0 ? "Die Marken fallen im Mittelpunkt des Schirms zusammen."
                      : "Die Marken fallen zusammen, " + FromCentre(first) + ".";
  }
  const std::string where = first == second ? "je " + FromCentre(first)
                                            : std::to_string(std::min(first, second)) + " und " +
                                                  FromCentre(std::max(first, second));
  return "Die Marken liegen " + std::to_string(apart) + " Pixel auseinander, " + where + ".";
}

MarkTone ToneFor(const MarkPlaces& places) {
  if (!places.on_screen) return {};
  // How far the marks are from a focus: from each other and from the centre.
  const long distance = places.apart + std::max(places.first, places.second);
  // Two octaves over 0 .. 200 pixels, an octave for every 100 pixels closer.
  constexpr double kHighest = 880, kPixelsPerOctave = 100, kOctaves = 2;
  const double octaves_down = std::min(kOctaves, static_cast<double>(distance) / kPixelsPerOctave);
  return {.silent = false, .hertz = kHighest / std::exp2(octaves_down), .met = distance <= 2};
}

}  // namespace varek
