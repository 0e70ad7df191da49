// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// make-pictures: paints the three pictures of the window (pictures/) at
// scale 1 and writes them as JPEG files into the assets folder, where they
// are committed and built into the program. Run by hand after a change:
//   ninja -C <build> make-pictures && <build>/tools/pictures/make-pictures [folder]
// The fonts are the DejaVu files of the Debian packages fonts-dejavu-core and
// fonts-dejavu-extra (the oblique one).
#include <QGuiApplication>

#include "jpeg_writer.h"
#include "pictures/pages.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using namespace pictures;
  if (!LoadPageFonts("make-pictures")) return 1;
  const QString folder =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VAREK_ASSETS_DIR);
  // Text pages at quality 92; the axes strip exactly black and white.
  const bool ok = WriteGrayJpeg(PaintInformationPage(), folder + "/image1_information.jpg", 92) &&
                  WriteGrayJpeg(PaintDataPage(), folder + "/image2_data.jpg", 92) &&
                  WriteBilevelJpeg(PaintSignalAxes(), folder + "/image3_signal_axes.jpg");
  return ok ? 0 : 1;
}
