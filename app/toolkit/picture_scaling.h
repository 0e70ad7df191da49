// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing a picture through a painter that may scale it (the scaled window,
// Qt's device pixel ratio). Unscaled it is copied as it is. Enlarged, the
// painter samples nearest-neighbour (no SmoothPixmapTransform): crisp, and at
// whole factors every pixel becomes an exact square. Reduced, plain
// nearest-neighbour would drop whole rows and columns and with them dots of
// the one-pixel wire-frame lines, so the picture is first reduced to the
// device size keeping, of the pixels that meet in one, the darkest: every
// dark line and dot on the light pictures survives, and no colour is mixed.
#pragma once

#include <QImage>
#include <QSize>

class QPainter;

namespace varek {

// Draws image at (0, 0) of the painter's coordinates, at the image's size.
void DrawPicture(QPainter& painter, const QImage& image);

// image reduced to size (not larger than the image): each pixel of the
// result is the darkest of the pixels of image that fall into it.
QImage ShrinkKeepingDarkest(const QImage& image, const QSize& size);

}  // namespace varek
