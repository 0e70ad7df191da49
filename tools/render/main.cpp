// varek-render: computes the path(s) for the settings given as flags, draws
// the scene as the window would and writes it as a PNG file; optionally the
// deflection plot too.
#include <QImage>

#include <cstdio>
#include <string>

#include "assets/pictures.h"
#include "model/scene.h"
#include "model/trajectories.h"
#include "render/deflection_signal.h"
#include "render/scene_renderer.h"
#include "tools/render/render_flags.h"

namespace {

constexpr const char* Usage =
    "usage: varek-render [--voltage 50..2000] [--current 0..3000] [--deflection on|off] [--mode dc|ac] "
    "[--amplitude 0..300] [--turn -180..180] [--side -180..0] [--coil on|off] [--transparent on|off] "
    "[--width 1|2] --out scene.png [--signal-out signal.png]";

int Fail(const std::string& message) {
  std::fprintf(stderr, "varek-render: %s; %s\n", message.c_str(), Usage);
  return 2;
}

bool WritePng(const varek::Bitmap& bitmap, const std::string& file) {
  const QImage image(reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width, bitmap.height,
                     bitmap.width * static_cast<int>(sizeof(varek::Pixel)), QImage::Format_RGB32);
  if (image.save(QString::fromStdString(file), "PNG")) return true;
  std::fprintf(stderr, "varek-render: cannot write %s\n", file.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varek;
  RenderSettings settings;
  std::string error;
  if (!ParseRenderFlags(argc, argv, settings, error)) return Fail(error);

  PlainControls controls = ControlsFor(settings.paths);
  controls.turn_axis = settings.turn;
  controls.turn_vertical = settings.side;
  controls.see_through_screen = settings.transparent;
  IdlePump pump;
  BindControls(&controls);
  BindMessagePump(&pump);

  StartUpModel();
  BuildCoilAndRings();
  CreateBackBuffer(SceneWidth, SceneHeight);
  CoilVisible = settings.coil;
  PathWidth = static_cast<std::uint8_t>(settings.width);
  InitApparatus();
  ComputeTrajectories();
  RenderScene();
  if (!WritePng(BackBuffer, settings.out)) return 1;

  if (!settings.signal_out.empty()) {
    const auto axes = LoadPicture(PictureId::SignalAxes, &error);
    if (!axes) {
      std::fprintf(stderr, "varek-render: axes picture: %s\n", error.c_str());
      return 1;
    }
    SetSignalBackground(*axes);
    DrawDeflectionSignal();
    if (!WritePng(DeflectionSignalPlot(), settings.signal_out)) return 1;
  }
  return 0;
}
