// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPalette>
#include <QStyleFactory>
#include <QTranslator>
#include <QWidget>
#include <cstdio>

namespace varek {

namespace {
// Liberation Sans has the metrics of Arial, the closest match to the classic
// sans-serif dialog font; the rest are fall-backs in order of width.
const QStringList kSansFamilies = {"Liberation Sans", "Arial", "Helvetica", "DejaVu Sans"};
constexpr int kDefaultPixelHeight = 11;
}  // namespace

QFont PixelFont(int pixel_height, bool bold) {
  QFont font;
  font.setFamilies(kSansFamilies);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_height);
  font.setBold(bold);
  return font;
}

QFont DefaultFont() { return PixelFont(kDefaultPixelHeight, false); }

void SetBackgroundColour(QWidget* widget, const QColor& background) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, background);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget* widget, const QColor& text) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, text);
  widget->setPalette(palette);
}

void InstallGermanQtTexts() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QStringLiteral(":/translations/qtbase_de.qm"))) {
    QCoreApplication::installTranslator(translator);
  } else {
    std::fprintf(stderr, "varek-em: Qt's German texts cannot be loaded; menus stay English.\n");
    delete translator;
  }
}

bool SetUpApplicationLook() {
  InstallGermanQtTexts();
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  const QFont font = DefaultFont();
  QApplication::setFont(font);
  if (QFontDatabase::families().isEmpty() || QFontInfo(font).family().isEmpty()) {
    std::fprintf(stderr,
                 "varek-em: no font found (fontconfig lists none); texts will be drawn as empty "
                 "boxes. Install fonts-liberation2 or fonts-dejavu-core.\n");
    return false;
  }
  return true;
}

}  // namespace varek
