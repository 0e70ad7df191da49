// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/scene_renderer.h"

#include <algorithm>
#include <cstdlib>

namespace varek {

namespace {

constexpr Pixel BackgroundColour = FromToolkitColour(0xE8E8E8);  // (232, 232, 232)
constexpr Pixel Black = FromToolkitColour(0);
constexpr Pixel CoilColour = FromToolkitColour(255);        // red
constexpr Pixel PlateColour = FromToolkitColour(0x808080);  // grey
constexpr Pixel PathColour = FromToolkitColour(0xFF0000);   // blue, also the miss marks
constexpr Pixel ScreenColour = FromToolkitColour(0x8000);   // green rim, border of the fill
constexpr Pixel ScreenFillColour = FromToolkitColour(0xB4FAB4);
constexpr Pixel HitMarkColour[] = {FromToolkitColour(0x8700),
                                   FromToolkitColour(0x8C00)};  // paths 1, 2

constexpr int ThickPen = 3;      // coil, plates, screen rim and end marks
constexpr int SourceRadius = 3;  // half size of the beam source's circle
constexpr int MissMarkRadius = 1;
constexpr int HitMarkRadius = 2;
constexpr int DrawnPaths = 2;  // only paths 1 and 2 are ever computed
// The screen disc is filled only while the vertical turn is at least 4 degrees
// away from edge-on (0 and -180).
constexpr int FillFromPosition = -176;
constexpr int FillToPosition = -4;

// The canvas with the scene's projection: view points in, pixels out, at scale k.
struct Projected {
  Canvas& canvas;
  int perspective_factor;
  Extended scale;
  PixelPoint last{};  // the current position at k = 1

  PixelPoint At(const Vec3i& view) const { return ProjectPoint(view, perspective_factor, scale); }
  // A pen `width` picture pixels wide, drawn at the scale: a thin pen is
  // magnified by the canvas, a wide one gets k times its width, rounded up
  // so that no rim gets thinner than the picture's and lets a fill through.
  void SetPenWidth(int width) {
    canvas.SetThinPenScale(scale);
    int wide = RoundEven(scale * width);
    if (wide < scale * width) ++wide;
    canvas.SetPenWidth(width <= 1 ? 1 : wide);
  }
  void MoveTo(const Vec3i& view) {
    const PixelPoint p = At(view);
    canvas.MoveTo(p.x, p.y);
    last = scale == 1 ? p : ProjectPoint(view, perspective_factor);
  }
  // The line's dots follow its steps in the picture at k = 1.
  void LineTo(const Vec3i& view) {
    const PixelPoint p = At(view);
    const PixelPoint one = scale == 1 ? p : ProjectPoint(view, perspective_factor);
    canvas.LineTo(p.x, p.y, std::max(std::abs(one.x - last.x), std::abs(one.y - last.y)));
    last = one;
  }
  // A line through points 1..count of a view array.
  template <typename Points>
  void Polyline(const Points& points, int count) {
    MoveTo(points[1]);
    for (int i = 2; i <= count; ++i) LineTo(points[i]);
  }
  // The box (c - radius, c + radius) around the corner c at the top left of
  // the point's pixel; magnified, around that corner's place.
  void Mark(const Vec3i& view, int radius) {
    const PixelPoint p = At(view);
    const Extended half = Extended(1) / 2;
    const int from = RoundEven(half - scale * (half + radius));
    const int to = RoundEven(half + scale * (radius - half));
    canvas.Ellipse(p.x + from, p.y + from, p.x + to, p.y + to);
  }
};

// Paths to draw: the latest computation's, never beyond the two path rows
// that are ever filled.
int PathsToDraw(const Scene& scene) {
  return std::clamp<int>(scene.TrajectoryTotal, 0, DrawnPaths);
}

// Stored samples of path p, never beyond the row's capacity.
int SamplesOf(const Scene& scene, int p) {
  return std::clamp<int>(scene.TrajectoryCount[p], 0, MaxSamples);
}

// The end mark sits on the last stored sample. A path without samples (the
// one under computation) has nothing to mark, and before the first
// computation there is no path to mark.
void EndMark(Projected& draw, const Scene& scene, int p, int radius) {
  const int count = SamplesOf(scene, p);
  if (count >= 1) draw.Mark(scene.TrajectoryView[p][count], radius);
}

}  // namespace

SceneRenderer::SceneRenderer() : back_buffer_(SceneWidth, SceneHeight), canvas_(back_buffer_) {}

const Bitmap& SceneRenderer::RenderScene(const Scene& scene, const Settings& settings,
                                         Extended scale) {
  if (scale < 1) scale = 1;
  const int width = ScaledLength(SceneWidth, scale), height = ScaledLength(SceneHeight, scale);
  if (back_buffer_.width != width || back_buffer_.height != height)
    back_buffer_ = Bitmap(width, height);
  Canvas& canvas = canvas_;
  Projected draw{canvas, scene.PerspectiveFactor, scale};
  const int vertical_turn = settings.turn_vertical;

  // Background with a one-pixel black frame. The pen style is whatever the
  // last pass left: solid.
  canvas.SetBrushColour(BackgroundColour);
  draw.SetPenWidth(1);
  canvas.SetPenColour(Black);
  canvas.Rectangle(0, 0, width, height);

  if (settings.coil_visible) {
    canvas.SetPenColour(CoilColour);
    draw.SetPenWidth(ThickPen);
    canvas.SetPenStyle(PenStyle::Solid);
    draw.Polyline(scene.CoilView, CoilPointCount);
  }

  // Plates: corners 1-4 the upper plate, 5-8 the lower one, each closed.
  canvas.SetPenColour(PlateColour);
  draw.SetPenWidth(ThickPen);
  canvas.SetPenStyle(PenStyle::Solid);
  for (int first : {1, 5}) {
    draw.MoveTo(scene.PlateView[first]);
    for (int i = first + 1; i < first + 4; ++i) draw.LineTo(scene.PlateView[i]);
    draw.LineTo(scene.PlateView[first]);
  }

  // Beam source: a small circle filled with the background brush.
  canvas.SetPenColour(Black);
  draw.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::Solid);
  draw.Mark(scene.SourceView[1], SourceRadius);

  const int paths = PathsToDraw(scene);
  for (int p = 1; p <= paths; ++p) {
    canvas.SetPenColour(PathColour);
    canvas.SetPenStyle(PenStyle::Solid);
    draw.SetPenWidth(settings.path_width);
    const int count = SamplesOf(scene, p);
    if (count >= 1) draw.Polyline(scene.TrajectoryView[p], count);
  }

  // Rear rim and the two edge lines of the tube, dotted; the gaps take the
  // background brush, also over the lines drawn so far. The rim's last point
  // repeats its first, so the ring closes by itself.
  canvas.SetPenColour(Black);
  draw.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::Dotted);
  draw.Polyline(scene.RearRingView, RingPointCount);
  draw.MoveTo(scene.TubeEdgeView[2]);
  draw.LineTo(scene.TubeEdgeView[4]);
  draw.MoveTo(scene.TubeEdgeView[1]);
  draw.LineTo(scene.TubeEdgeView[3]);

  // Miss marks: the pen stays dotted, but at width 3 it draws solid dots.
  if (!scene.ScreenHit) {
    for (int p = 1; p <= paths; ++p) {
      canvas.SetPenColour(PathColour);
      draw.SetPenWidth(ThickPen);
      EndMark(draw, scene, p, MissMarkRadius);
    }
  }

  canvas.SetPenColour(ScreenColour);
  draw.SetPenWidth(ThickPen);
  canvas.SetPenStyle(PenStyle::Solid);
  draw.Polyline(scene.ScreenRingView, RingPointCount);

  // Screen fill, unless the disc is seen nearly edge-on or is see-through.
  // Everything inside the green rim is painted over.
  if (vertical_turn >= FillFromPosition && vertical_turn <= FillToPosition &&
      !settings.screen_transparent) {
    canvas.SetBrushColour(ScreenFillColour);
    const PixelPoint centre = draw.At(scene.ScreenCentreView);
    canvas.FloodFill(centre.x, centre.y, ScreenColour);
  }

  // Hit marks come after the fill and stay visible on the filled screen.
  if (scene.ScreenHit) {
    for (int p = 1; p <= paths; ++p) {
      canvas.SetPenColour(HitMarkColour[p - 1]);
      draw.SetPenWidth(ThickPen);
      EndMark(draw, scene, p, HitMarkRadius);
    }
  }
  return back_buffer_;
}

}  // namespace varek
