// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The three pictures of the window, painted as 8-bit grayscale images.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace pictures {

// Fonts from the DejaVu files loaded by main(), at a pixel size.
QFont SansFont(int pixels, bool bold = false, bool italic = false);

// A white grayscale page, and a painter set up for black anti-aliased ink.
QImage WhitePage(int width, int height);
void SetUpPainter(QPainter& painter);

QImage PaintInformationPage();  // 1004 x 654
QImage PaintDataPage();         // 531 x 176
QImage PaintSignalAxes();       // 241 x 50

}  // namespace pictures
