// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Turning the drawing layer's bitmaps into Qt images.
#pragma once

#include <QImage>

#include "render/bitmap.h"

namespace varek {

// Copies `picture` into `image` (RGB32, opaque), reallocating only when the
// size differs.
void CopyInto(const Bitmap& picture, QImage& image);
QImage ToQImage(const Bitmap& picture);

}  // namespace varek
