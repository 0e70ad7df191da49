// The perspective wire-frame picture of the apparatus and the paths.
#pragma once

#include "model/vec3i.h"
#include "render/bitmap.h"

namespace varek {

inline constexpr int SceneWidth = 720;   // size of PaintBox1 and BackBuffer
inline constexpr int SceneHeight = 440;

// The one off-screen picture of the scene; created once at start-up.
extern Bitmap BackBuffer;
void CreateBackBuffer(int width, int height);

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Perspective projection of a view point onto a pixel of the 720 x 440 picture:
// centre of projection at z = -4500, image plane z = 0, origin at (360, 220).
PixelPoint ProjectPoint(const Vec3i& view);

// Receives the finished picture; the window copies it onto PaintBox1.
class ScenePresenter {
 public:
  virtual ~ScenePresenter() = default;
  virtual void PresentScene(const Bitmap& picture) = 0;
};
void BindScenePresenter(ScenePresenter* presenter);  // nullptr: nobody is shown the picture

// Sets the view angles from the bound controls, rotates every model array,
// draws the whole scene into BackBuffer and hands it to the presenter.
void RenderScene();

}  // namespace varek
