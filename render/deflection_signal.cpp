#include "render/deflection_signal.h"

#include <algorithm>

#include "model/controls.h"
#include "model/extended.h"
#include "render/canvas.h"

namespace varek {

namespace {

constexpr Pixel PaperColour = Rgb(255, 255, 255);   // under the axes picture
constexpr Pixel CurveColour = FromToolkitColour(255);  // red
constexpr int ZeroRow = 25;           // lower row of the zero line; positive voltage above it
constexpr int AmplitudeScale = 15;    // amplitude positions per pixel: 0..300 gives 0..20 pixels
constexpr int CurveStart = 1;         // on the vertical axis
constexpr int CurveEnd = 240;         // last column of the plot
constexpr int HalfPeriod = 30;        // pixels on each level of the square wave

Bitmap signal_background;
Bitmap signal_plot(SignalWidth, SignalHeight, PaperColour);
Canvas signal_canvas(signal_plot);
SignalPresenter* signal_presenter = nullptr;

}  // namespace

void SetSignalBackground(const Bitmap& axes) { signal_background = axes; }

void BindSignalPresenter(SignalPresenter* presenter) { signal_presenter = presenter; }

const Bitmap& DeflectionSignalPlot() { return signal_plot; }

void DrawDeflectionSignal() {
  const Controls& controls = BoundControls();

  // Restore the background, wiping the previous curve.
  std::fill(signal_plot.pixels.begin(), signal_plot.pixels.end(), PaperColour);
  signal_canvas.Draw(0, 0, signal_background);

  const int amplitude = RoundEven(static_cast<Extended>(controls.ScrollBar3()) / AmplitudeScale);
  const int upper = ZeroRow - amplitude;
  const int lower = ZeroRow + amplitude;

  if (controls.Wechselspannung()) {
    // Four periods of 60 pixels, each 30 pixels up, then 30 pixels down:
    // (1, H) (30, H) (30, L) (60, L) (60, H) ... (210, L) (240, L).
    signal_canvas.SetPenColour(CurveColour);
    signal_canvas.SetPenWidth(1);
    signal_canvas.MoveTo(CurveStart, upper);
    int level = upper;
    for (int x = HalfPeriod; x <= CurveEnd; x += HalfPeriod) {
      signal_canvas.LineTo(x, level);
      if (x == CurveEnd) break;
      level = level == upper ? lower : upper;
      signal_canvas.LineTo(x, level);
    }
  }
  if (controls.Gleichspannung()) {
    // A steady voltage is drawn on the upper, positive level.
    signal_canvas.SetPenColour(CurveColour);
    signal_canvas.SetPenWidth(1);
    signal_canvas.MoveTo(CurveStart, upper);
    signal_canvas.LineTo(CurveEnd, upper);
  }

  if (signal_presenter != nullptr) signal_presenter->PresentSignal(signal_plot);
}

}  // namespace varek
