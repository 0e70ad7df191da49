// Showing the drawing layer's pictures in the window's paint boxes.
#pragma once

#include "render/deflection_signal.h"
#include "render/scene_renderer.h"

namespace varek {

class TPaintBox;

// Copies a finished picture onto its paint box and repaints it at once. This
// own repaint does not call the box's paint handler; the picture stays until
// the next one. Serves the scene (PaintBox1) and the deflection plot
// (PaintBox2).
class PaintBoxPresenter : public ScenePresenter, public SignalPresenter {
 public:
  explicit PaintBoxPresenter(TPaintBox& box) : box_(box) {}
  void PresentScene(const Bitmap& picture) override;
  void PresentSignal(const Bitmap& plot) override;

 private:
  TPaintBox& box_;
};

}  // namespace varek
