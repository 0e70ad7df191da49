// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The three pictures of the window, painted as 8-bit grayscale images with
// the DejaVu fonts. The text pages are painted at any scale (device pixels
// per pixel of the window): at 1 they are the pictures in assets/, larger
// they are painted at that size, sharp, for a window shown enlarged.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace pictures {

// Loads the DejaVu files for SansFont (fonts-dejavu-core; the oblique one is
// in fonts-dejavu-extra); false (and a line on stderr naming `who` and the
// missing file) where one is missing.
bool LoadPageFonts(const char* who);

// Fonts from the loaded DejaVu files, at a pixel size.
QFont SansFont(int pixels, bool bold = false, bool italic = false);

// A white grayscale page of width x height pixels at `scale`, and a painter
// set up for black anti-aliased ink that draws in the unscaled pixels.
QImage WhitePage(int width, int height, double scale = 1);
void SetUpPainter(QPainter& painter, double scale = 1);

QImage PaintInformationPage(double scale = 1);  // 1004 x 654 at 1
QImage PaintDataPage(double scale = 1);         // 531 x 176 at 1
QImage PaintSignalAxes();                       // 241 x 50

}  // namespace pictures
