// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFontDatabase>
#include <cmath>
#include <cstdio>

#include "pages.h"

namespace pictures {
namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
QString sans_family;

bool LoadFont(const char* who, const char* file, QString* family) {
  const int id = QFontDatabase::addApplicationFont(QString(kFontFolder) + file);
  if (id < 0) {
    std::fprintf(stderr,
                 "%s: cannot load %s%s (install fonts-dejavu-core and fonts-dejavu-extra)\n", who,
                 kFontFolder, file);
    return false;
  }
  if (family != nullptr) *family = QFontDatabase::applicationFontFamilies(id).value(0);
  return true;
}

}  // namespace

bool LoadPageFonts(const char* who) {
  if (!sans_family.isEmpty()) return true;
  QString family;
  if (!LoadFont(who, "DejaVuSans.ttf", &family) || !LoadFont(who, "DejaVuSans-Bold.ttf", nullptr) ||
      !LoadFont(who, "DejaVuSans-Oblique.ttf", nullptr)) {
    return false;
  }
  sans_family = family;
  return true;
}

QFont SansFont(int pixels, bool bold, bool italic) {
  QFont font(sans_family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QImage WhitePage(int width, int height, double scale) {
  // Whole pixels that hold the scaled page (1e-6: 1.25 x 1004 is 1255).
  QImage image(static_cast<int>(std::ceil(width * scale - 1e-6)),
               static_cast<int>(std::ceil(height * scale - 1e-6)), QImage::Format_Grayscale8);
  image.fill(255);
  return image;
}

void SetUpPainter(QPainter& painter, double scale) {
  if (scale != 1) painter.scale(scale, scale);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(Qt::black);
}

}  // namespace pictures
