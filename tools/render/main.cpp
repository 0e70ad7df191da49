// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-render: computes the path(s) for the settings given as flags, draws
// the scene as the window would and writes it as a PNG file; optionally the
// deflection plot too.
#include <QImage>

#include <cstdio>
#include <string>

#include "assets/pictures.h"
#include "render/simulation.h"
#include "tools/flags/tool_flags.h"

namespace {

bool WritePng(const varek::Bitmap& bitmap, const std::string& file) {
  const QImage image(
      reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width, bitmap.height,
      static_cast<qsizetype>(bitmap.width) * static_cast<qsizetype>(sizeof(varek::Pixel)),
      QImage::Format_RGB32);
  if (image.save(QString::fromStdString(file), "PNG")) return true;
  std::fprintf(stderr, "varek-render: cannot write %s\n", file.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varek;
  ToolFlags flags;
  if (!ParseToolFlagsOrReport(FlagSet::Render, "varek-render", argc, argv, flags)) return 2;

  Simulation simulation(flags.settings);
  simulation.ComputeTrajectories(flags.settings);
  if (!WritePng(simulation.RenderScene(flags.settings, flags.scale), flags.out)) return 1;

  if (!flags.signal_out.empty()) {
    std::string error;
    const auto axes = LoadPicture(PictureId::SignalAxes, &error);
    if (!axes) {
      std::fprintf(stderr, "varek-render: axes picture: %s\n", error.c_str());
      return 1;
    }
    simulation.SetSignalBackground(*axes);
    if (!WritePng(simulation.DrawDeflectionSignal(flags.settings, flags.scale), flags.signal_out))
      return 1;
  }
  return 0;
}
