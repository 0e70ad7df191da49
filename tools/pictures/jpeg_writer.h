// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the pictures as grayscale baseline JPEG files.
#pragma once

#include <QImage>
#include <QString>

namespace pictures {

// Encodes a Format_Grayscale8 image; false with a message on stderr if the
// file cannot be written. quality is libjpeg's 1..100.
bool WriteGrayJpeg(const QImage& image, const QString& path, int quality);

// Encodes a Format_Grayscale8 image whose pixels are all 0 or 255 so that a
// decoder gives back exactly 0 and 255: the DCT coefficients are computed
// here for a pattern of stronger contrast (below 0, above 255), which the
// decoder's clamping turns into the exact levels, free of ringing.
bool WriteBilevelJpeg(const QImage& image, const QString& path);

}  // namespace pictures
