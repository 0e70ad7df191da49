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
  std::fprintf(stderr, "varek-render: %s lässt sich nicht schreiben\n", file.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varek;
  std::string out, signal_out;
  double scale = 1;
  const ToolFlag flags[] = {
      {.name = "--scale",
       .meaning = "Bildpunkte des Geräts je Bildpunkt des Bildes (Start: 1)",
       .decimal = &scale,
       .range = {1, 8}},
      {.name = "--out",
       .placeholder = "szene.png",
       .meaning = "das Bild der Szene (PNG)",
       .required = true,
       .file = &out},
      {.name = "--signal-out",
       .placeholder = "signal.png",
       .meaning = "das Bild der Ablenkspannung (PNG)",
       .file = &signal_out},
  };
  const ToolCommandLine line{
      .tool = "varek-render",
      .purpose = "Zeichnet die Szene für die Einstellungen, wie das Fenster sie zeigt.",
      .settings = AllSettings(),
      .flags = flags};
  Settings settings;
  if (const auto status = ParseFlagsOrReport(line, argc, argv, settings)) return *status;

  Simulation simulation(settings);
  simulation.ComputeTrajectories(settings);
  if (!WritePng(simulation.RenderScene(settings, scale), out)) return 1;

  if (!signal_out.empty()) {
    std::string error;
    const auto axes = LoadPicture(PictureId::SignalAxes, &error);
    if (!axes) {
      std::fprintf(stderr, "varek-render: Bild der Achsen: %s\n", error.c_str());
      return 1;
    }
    simulation.SetSignalBackground(*axes);
    if (!WritePng(simulation.DrawDeflectionSignal(settings, scale), signal_out)) return 1;
  }
  return 0;
}
