// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// make-pictures: paints the three pictures of the window and writes them as
// JPEG files into the assets folder, where they are committed and built into
// the program. Run by hand after a change:
//   ninja -C <build> make-pictures && <build>/tools/pictures/make-pictures [folder]
// The fonts are the DejaVu files of the Debian package fonts-dejavu-core.
#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>

#include "jpeg_writer.h"
#include "pages.h"

namespace pictures {
namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
QString sans_family;

bool LoadFont(const char* file, QString* family) {
  const int id = QFontDatabase::addApplicationFont(QString(kFontFolder) + file);
  if (id < 0) {
    std::fprintf(stderr, "make-pictures: cannot load %s%s (install fonts-dejavu-core)\n",
                 kFontFolder, file);
    return false;
  }
  if (family != nullptr) *family = QFontDatabase::applicationFontFamilies(id).value(0);
  return true;
}

}  // namespace

QFont SansFont(int pixels, bool bold, bool italic) {
  QFont font(sans_family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QImage WhitePage(int width, int height) {
  QImage image(width, height, QImage::Format_Grayscale8);
  image.fill(255);
  return image;
}

void SetUpPainter(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(Qt::black);
}

}  // namespace pictures

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using namespace pictures;
  if (!LoadFont("DejaVuSans.ttf", &sans_family) || !LoadFont("DejaVuSans-Bold.ttf", nullptr) ||
      !LoadFont("DejaVuSans-Oblique.ttf", nullptr)) {
    return 1;
  }
  const QString folder =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VAREK_ASSETS_DIR);
  // Text pages at quality 92; the axes strip exactly black and white.
  const bool ok = WriteGrayJpeg(PaintInformationPage(), folder + "/image1_information.jpg", 92) &&
                  WriteGrayJpeg(PaintDataPage(), folder + "/image2_data.jpg", 92) &&
                  WriteBilevelJpeg(PaintSignalAxes(), folder + "/image3_signal_axes.jpg");
  return ok ? 0 : 1;
}
