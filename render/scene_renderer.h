// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The perspective wire-frame picture of the apparatus and the paths.
#pragma once

#include "model/scene.h"
#include "model/settings.h"
#include "model/vec3i.h"
#include "render/bitmap.h"
#include "render/canvas.h"
#include "render/scale.h"

namespace varek {

inline constexpr int SceneWidth = 720;  // size of PaintBox1 and BackBuffer
inline constexpr int SceneHeight = 440;

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Perspective projection of a view point onto a pixel of the 720 x 440 picture:
// centre of projection at z = -4500, image plane z = 0, origin at (360, 220).
// At `scale` k the picture is drawn k times as large (k device pixels per
// picture pixel): the exact projection is magnified before it is rounded.
PixelPoint ProjectPoint(const Vec3i& view, int perspective_factor, Extended scale = 1);

// Owns the off-screen picture of the scene and its canvas. Pen and brush
// carry over from one picture to the next, as the drawing relies on.
class SceneRenderer {
 public:
  SceneRenderer();
  SceneRenderer(const SceneRenderer&) = delete;
  SceneRenderer& operator=(const SceneRenderer&) = delete;

  // Draws the view copies of `scene` (rotated beforehand) with the picture
  // options of `settings` into BackBuffer and returns it. At `scale` k >= 1 the
  // same scene is drawn k times as large, ScaledLength(720) x ScaledLength(440)
  // pixels, its lines and marks k times as wide; at 1 it is the 720 x 440 picture.
  const Bitmap& RenderScene(const Scene& scene, const Settings& settings, Extended scale = 1);
  const Bitmap& BackBuffer() const { return back_buffer_; }

 private:
  Bitmap back_buffer_;
  Canvas canvas_;
};

}  // namespace varek
