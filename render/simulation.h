// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One simulation: the model with its scene, the scene picture and the
// deflection plot. The window owns one; the tools, the tests, the benchmarks
// and the browser page make their own.
#pragma once

#include "model/model.h"
#include "render/deflection_signal.h"
#include "render/scene_renderer.h"

namespace varek {

class Simulation {
 public:
  // The one start-up of model and pictures.
  explicit Simulation(const Settings& start = {});

  Model& model() { return model_; }
  const Scene& scene() const { return model_.scene(); }

  void SetMessagePump(MessagePump* pump) { model_.SetMessagePump(pump); }
  void SetSignalBackground(const Bitmap& axes) { plot_.SetBackground(axes); }

  // InitApparatus and the integration on a snapshot of `settings`.
  void ComputeTrajectories(const Settings& settings) { model_.ComputeTrajectories(settings); }
  void RequestStop() { model_.RequestStop(); }
  bool ComputationRunning() const { return model_.ComputationRunning(); }

  // The scale (device pixels per picture pixel) at which RenderScene and
  // DrawDeflectionSignal draw when none is given: where the pictures are shown.
  void SetPictureScale(Extended scale) { picture_scale_ = scale; }
  Extended PictureScale() const { return picture_scale_; }

  // Turns every point for the view of `settings` and draws the scene, at
  // `scale` device pixels per picture pixel.
  const Bitmap& RenderScene(const Settings& settings) {
    return RenderScene(settings, picture_scale_);
  }
  const Bitmap& RenderScene(const Settings& settings, Extended scale);
  const Bitmap& DrawDeflectionSignal(const Settings& settings) {
    return plot_.DrawDeflectionSignal(settings, picture_scale_);
  }
  const Bitmap& DrawDeflectionSignal(const Settings& settings, Extended scale) {
    return plot_.DrawDeflectionSignal(settings, scale);
  }

  const Bitmap& Picture() const { return renderer_.BackBuffer(); }
  const Bitmap& SignalPlot() const { return plot_.Plot(); }

 private:
  Model model_;
  SceneRenderer renderer_;
  DeflectionPlot plot_;
  Extended picture_scale_ = 1;
};

}  // namespace varek
