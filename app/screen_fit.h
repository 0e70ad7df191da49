// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How large the window's form is shown: scaled down where the screen is
// smaller than the form, zoomed in presentation mode.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace varek {

// The frame a window manager typically adds around the client area (title
// bar and borders); without one the window gets no frame and loses nothing.
inline constexpr QMargins kNominalFrame(8, 30, 8, 8);

// The largest factor at which a form of form_size fits into area.
double FitScale(const QSize& area, const QSize& form_size);

// The zoom steps of Ctrl+Plus and Ctrl+Minus, from 0.5 to 4. Whole factors
// keep pictures exactly crisp; the steps between them are for screens on
// which the next whole factor would not fit.
double NextZoomStep(double scale);
double PreviousZoomStep(double scale);
bool IsZoomStep(double zoom);

// The factor in use: the chosen zoom, but never larger than what fits; a zoom
// of 0 fills the room (what fits).
inline double EffectiveScale(double zoom, double fit) {
  return zoom > 0 && zoom < fit ? zoom : fit;
}

// The window's client size for a form shown at scale: whole pixels, so that
// nothing of the form is cut off.
QSize ScaledSize(const QSize& form_size, double scale);

// The client rectangle moved as little as it takes for it and its frame to
// lie within area (a window that fits, but whose restored place would stick
// out of the screen). A window larger than area keeps its top-left corner at
// the area's.
QRect PlaceOnScreen(const QRect& client, const QRect& area, const QMargins& frame);

}  // namespace varek
