// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The small plot of the deflection voltage (square wave or flat line).
#pragma once

#include "model/settings.h"
#include "render/bitmap.h"
#include "render/canvas.h"

namespace varek {

inline constexpr int SignalWidth = 241;  // size of PaintBox2 and of the axes picture
inline constexpr int SignalHeight = 50;

// Owns the plot and its canvas.
class DeflectionPlot {
 public:
  DeflectionPlot();
  DeflectionPlot(const DeflectionPlot&) = delete;
  DeflectionPlot& operator=(const DeflectionPlot&) = delete;

  // The picture under the curve (the decoded axes picture).
  void SetBackground(const Bitmap& axes) { background_ = axes; }

  // Restores the background and draws the curve for the amplitude and the
  // kind of deflection voltage of `settings`; returns the plot. At `scale`
  // k > 1 the plot is drawn k times as large and its axes are drawn as the
  // axes picture shows them: a two-pixel axis at the left, a two-pixel zero
  // line through rows 24 and 25.
  const Bitmap& DrawDeflectionSignal(const Settings& settings, Extended scale = 1);
  const Bitmap& Plot() const { return plot_; }

 private:
  Bitmap background_;
  Bitmap plot_;
  Canvas canvas_;
};

}  // namespace varek
