// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts, colours and the style shared by every control of the window.
#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace varek {

// Fonts are given by their character height in pixels, not in points, so the
// layout does not depend on the screen's dots per inch.
QFont PixelFont(int pixel_height, bool bold);
// The window's default: 11 px, regular.
QFont DefaultFont();

// Background (the Window role, filled) and text colour (WindowText) of a
// control; children inherit both unless they set their own.
void SetBackgroundColour(QWidget* widget, const QColor& background);
void SetTextColour(QWidget* widget, const QColor& text);

// Qt's own texts (context menus, standard dialogs) in German, whatever the
// user's locale.
void InstallGermanQtTexts();

// Qt's German texts, Fusion style and the 11-px default font for the whole application. Returns
// false, after one line on stderr, if no font can be found: Qt would then draw
// every text as empty boxes without a word.
bool SetUpApplicationLook();

}  // namespace varek
