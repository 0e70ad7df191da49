// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// scene_digest: prints a digest of every point of the scene (model arrays,
// then the view copies and view angles for each view position), so that the
// desktop build and the build on SoftExtended and the angle table can be
// compared line by line.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/model.h"

namespace {

using namespace varek;

struct Digest {
  std::uint64_t value = 14695981039346656037u;  // FNV-1a
  void Add(const void* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
      value = (value ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211u;
  }
  void Add(const Vec3i& p) { Add(&p, sizeof p); }
  template <int N>
  void Add(const OneBased<Vec3i, N>& points) {
    for (int i = 1; i <= N; ++i) Add(points[i]);
  }
};

}  // namespace

int main() {
  Settings settings;
  settings.current = 1230;
  settings.deflection_on = true;
  settings.steady = false;
  Model model(settings);
  model.ComputeTrajectories(settings);
  const Scene& s = model.scene();

  Digest start;
  start.Add(s.CoilPoints);
  start.Add(s.ScreenRing);
  start.Add(s.RearRing);
  start.Add(s.SourcePoints);
  start.Add(s.TrajectoryPoints[1]);
  start.Add(s.TrajectoryPoints[2]);
  std::printf("model %016llx\n", static_cast<unsigned long long>(start.value));

  for (int position = TurnAxisRange.lowest; position <= TurnAxisRange.highest; ++position) {
    model.Rotate(position,
                 position < TurnVerticalRange.highest ? position : TurnVerticalRange.highest);
    Digest view;
    view.Add(&s.ViewAngle1, sizeof s.ViewAngle1);
    view.Add(&s.ViewAngle2, sizeof s.ViewAngle2);
    view.Add(s.CoilView);
    view.Add(s.ScreenRingView);
    view.Add(s.RearRingView);
    view.Add(s.PlateView);
    view.Add(s.SourceView);
    view.Add(s.ScreenCentreView);
    view.Add(s.TubeEdgeView);
    view.Add(s.TrajectoryView[1]);
    view.Add(s.TrajectoryView[2]);
    std::printf("view %d %016llx\n", position, static_cast<unsigned long long>(view.value));
  }
  return 0;
}
