// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/deflection_signal.h"

#include <algorithm>

#include "model/extended.h"
#include "render/canvas.h"
#include "render/scale.h"

namespace varek {

namespace {

constexpr Pixel PaperColour = Rgb(255, 255, 255);      // under the axes picture
constexpr Pixel CurveColour = FromToolkitColour(255);  // red
constexpr int ZeroRow = 25;         // lower row of the zero line; positive voltage above it
constexpr int AmplitudeScale = 15;  // amplitude positions per pixel: 0..300 gives 0..20 pixels
constexpr int CurveStart = 1;       // on the vertical axis
constexpr int CurveEnd = 240;       // last column of the plot
constexpr int HalfPeriod = 30;      // pixels on each level of the square wave
constexpr Pixel AxisColour = Rgb(0, 0, 0);
constexpr int AxisWidth = 2;  // columns 0 and 1, rows 24 and 25

// The axes of the picture, drawn k times as large.
void DrawAxes(Canvas& canvas, int width, Extended scale) {
  canvas.SetPenColour(AxisColour);
  canvas.SetBrushColour(AxisColour);
  canvas.SetPenWidth(1);
  canvas.SetThinPenScale(1);
  const int band = ScaledLength(AxisWidth, scale);
  const int zero_line = ScaledPixel(ZeroRow - 1, scale);
  canvas.Rectangle(0, 0, band, ScaledLength(SignalHeight, scale));
  canvas.Rectangle(0, zero_line, width, zero_line + band);
}

}  // namespace

DeflectionPlot::DeflectionPlot() : plot_(SignalWidth, SignalHeight, PaperColour), canvas_(plot_) {}

const Bitmap& DeflectionPlot::DrawDeflectionSignal(const Settings& settings, Extended scale) {
  if (scale < 1) scale = 1;
  const int width = ScaledLength(SignalWidth, scale);
  if (plot_.width != width) plot_ = Bitmap(width, ScaledLength(SignalHeight, scale), PaperColour);
  Canvas& signal_canvas = canvas_;
  // Restore the background, wiping the previous curve.
  std::fill(plot_.pixels.begin(), plot_.pixels.end(), PaperColour);
  if (width == SignalWidth) signal_canvas.Draw(0, 0, background_);
  else DrawAxes(signal_canvas, width, scale);
  signal_canvas.SetThinPenScale(scale);

  const int amplitude = RoundEven(static_cast<Extended>(settings.amplitude) / AmplitudeScale);
  const auto at = [&](int picture_pixel) { return ScaledPixel(picture_pixel, scale); };
  const int upper = at(ZeroRow - amplitude);
  const int lower = at(ZeroRow + amplitude);

  if (!settings.steady) {
    // Four periods of 60 pixels, each 30 pixels up, then 30 pixels down:
    // (1, H) (30, H) (30, L) (60, L) (60, H) ... (210, L) (240, L).
    signal_canvas.SetPenColour(CurveColour);
    signal_canvas.SetPenWidth(1);
    signal_canvas.MoveTo(at(CurveStart), upper);
    int level = upper;
    for (int x = HalfPeriod; x <= CurveEnd; x += HalfPeriod) {
      signal_canvas.LineTo(at(x), level);
      if (x == CurveEnd) break;
      level = level == upper ? lower : upper;
      signal_canvas.LineTo(at(x), level);
    }
  }
  if (settings.steady) {
    // A steady voltage is drawn on the upper, positive level.
    signal_canvas.SetPenColour(CurveColour);
    signal_canvas.SetPenWidth(1);
    signal_canvas.MoveTo(at(CurveStart), upper);
    signal_canvas.LineTo(at(CurveEnd), upper);
  }

  return plot_;
}

}  // namespace varek
