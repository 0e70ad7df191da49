#include "render/scene_renderer.h"

#include <algorithm>

#include "model/controls.h"
#include "model/rotation.h"
#include "model/scene.h"
#include "render/canvas.h"

namespace varek {

Bitmap BackBuffer;

namespace {

constexpr Pixel BackgroundColour = FromToolkitColour(0xE8E8E8);  // (232, 232, 232)
constexpr Pixel Black = FromToolkitColour(0);
constexpr Pixel CoilColour = FromToolkitColour(255);           // red
constexpr Pixel PlateColour = FromToolkitColour(0x808080);     // grey
constexpr Pixel PathColour = FromToolkitColour(0xFF0000);      // blue, also the miss marks
constexpr Pixel ScreenColour = FromToolkitColour(0x8000);      // green rim, border of the fill
constexpr Pixel ScreenFillColour = FromToolkitColour(0xB4FAB4);
constexpr Pixel HitMarkColour[] = {FromToolkitColour(0x8700), FromToolkitColour(0x8C00)};  // paths 1, 2

constexpr int ThickPen = 3;         // coil, plates, screen rim and end marks
constexpr int SourceRadius = 3;     // half size of the beam source's circle
constexpr int MissMarkRadius = 1;
constexpr int HitMarkRadius = 2;
constexpr int DrawnPaths = 2;       // only paths 1 and 2 are ever computed
// The screen disc is filled only while the vertical turn is at least 4 degrees
// away from edge-on (0 and -180).
constexpr int FillFromPosition = -176;
constexpr int FillToPosition = -4;

ScenePresenter* scene_presenter = nullptr;
Canvas scene_canvas(BackBuffer);  // keeps pen and brush from one pass to the next

void MoveTo(Canvas& canvas, const Vec3i& view) {
  const PixelPoint p = ProjectPoint(view);
  canvas.MoveTo(p.x, p.y);
}

void LineTo(Canvas& canvas, const Vec3i& view) {
  const PixelPoint p = ProjectPoint(view);
  canvas.LineTo(p.x, p.y);
}

// A line through points 1..count of a view array.
template <typename Points>
void Polyline(Canvas& canvas, const Points& points, int count) {
  MoveTo(canvas, points[1]);
  for (int i = 2; i <= count; ++i) LineTo(canvas, points[i]);
}

void Mark(Canvas& canvas, const Vec3i& view, int radius) {
  const PixelPoint p = ProjectPoint(view);
  canvas.Ellipse(p.x - radius, p.y - radius, p.x + radius, p.y + radius);
}

// Paths to draw: the latest computation's, never beyond the two path rows
// that are ever filled.
int PathsToDraw() { return std::clamp<int>(TrajectoryTotal, 0, DrawnPaths); }

// Stored samples of path p, never beyond the row's capacity.
int SamplesOf(int p) { return std::clamp<int>(TrajectoryCount[p], 0, MaxSamples); }

// The end mark sits on the last stored sample. A path without samples (the
// one under computation) has nothing to mark, and before the first
// computation there is no path to mark.
void EndMark(Canvas& canvas, int p, int radius) {
  const int count = SamplesOf(p);
  if (count >= 1) Mark(canvas, TrajectoryView[p][count], radius);
}

}  // namespace

void CreateBackBuffer(int width, int height) {
  BackBuffer = Bitmap(width, height);
  scene_canvas.FitToTarget();
}

void BindScenePresenter(ScenePresenter* presenter) { scene_presenter = presenter; }

void RenderScene() {
  const Controls& controls = BoundControls();
  Canvas& canvas = scene_canvas;
  const int vertical_turn = controls.ScrollBar2();

  ViewAngle1 = ViewAngleFor(controls.ScrollBar1());
  ViewAngle2 = ViewAngleFor(vertical_turn);
  RotateTrajectories(ViewAngle1, ViewAngle2);
  RotateApparatus(ViewAngle1, ViewAngle2);

  // Background with a one-pixel black frame. The pen style is whatever the
  // last pass left: solid.
  canvas.SetBrushColour(BackgroundColour);
  canvas.SetPenWidth(1);
  canvas.SetPenColour(Black);
  canvas.Rectangle(0, 0, SceneWidth, SceneHeight);

  if (CoilVisible) {
    canvas.SetPenColour(CoilColour);
    canvas.SetPenWidth(ThickPen);
    canvas.SetPenStyle(PenStyle::Solid);
    Polyline(canvas, CoilView, CoilPointCount);
  }

  // Plates: corners 1-4 the upper plate, 5-8 the lower one, each closed.
  canvas.SetPenColour(PlateColour);
  canvas.SetPenWidth(ThickPen);
  canvas.SetPenStyle(PenStyle::Solid);
  for (int first : {1, 5}) {
    MoveTo(canvas, PlateView[first]);
    for (int i = first + 1; i < first + 4; ++i) LineTo(canvas, PlateView[i]);
    LineTo(canvas, PlateView[first]);
  }

  // Beam source: a small circle filled with the background brush.
  canvas.SetPenColour(Black);
  canvas.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::Solid);
  Mark(canvas, SourceView[1], SourceRadius);

  const int paths = PathsToDraw();
  for (int p = 1; p <= paths; ++p) {
    canvas.SetPenColour(PathColour);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(PathWidth);
    const int count = SamplesOf(p);
    if (count >= 1) Polyline(canvas, TrajectoryView[p], count);
  }

  // Rear rim and the two edge lines of the tube, dotted; the gaps take the
  // background brush, also over the lines drawn so far. The rim's last point
  // repeats its first, so the ring closes by itself.
  canvas.SetPenColour(Black);
  canvas.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::Dotted);
  Polyline(canvas, RearRingView, RingPointCount);
  MoveTo(canvas, TubeEdgeView[2]);
  LineTo(canvas, TubeEdgeView[4]);
  MoveTo(canvas, TubeEdgeView[1]);
  LineTo(canvas, TubeEdgeView[3]);

  // Miss marks: the pen stays dotted, but at width 3 it draws solid dots.
  if (!ScreenHit) {
    for (int p = 1; p <= paths; ++p) {
      canvas.SetPenColour(PathColour);
      canvas.SetPenWidth(ThickPen);
      EndMark(canvas, p, MissMarkRadius);
    }
  }

  canvas.SetPenColour(ScreenColour);
  canvas.SetPenWidth(ThickPen);
  canvas.SetPenStyle(PenStyle::Solid);
  Polyline(canvas, ScreenRingView, RingPointCount);

  // Screen fill, unless the disc is seen nearly edge-on or is see-through.
  // Everything inside the green rim is painted over.
  if (vertical_turn >= FillFromPosition && vertical_turn <= FillToPosition && !controls.CheckBox1()) {
    canvas.SetBrushColour(ScreenFillColour);
    const PixelPoint centre = ProjectPoint(ScreenCentreView);
    canvas.FloodFill(centre.x, centre.y, ScreenColour);
  }

  // Hit marks come after the fill and stay visible on the filled screen.
  if (ScreenHit) {
    for (int p = 1; p <= paths; ++p) {
      canvas.SetPenColour(HitMarkColour[p - 1]);
      canvas.SetPenWidth(ThickPen);
      EndMark(canvas, p, HitMarkRadius);
    }
  }

  if (scene_presenter != nullptr) scene_presenter->PresentScene(BackBuffer);
}

}  // namespace varek
