// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The three pictures of the window, built into the program as JPEG data.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "render/bitmap.h"

namespace varek {

enum class PictureId {
  Information,  // Image1, 1004 x 654: the explanation page
  Data,         // Image2, 531 x 176: the data of the apparatus
  SignalAxes,   // Image3, 241 x 50: the axes of the deflection plot
};

// The JPEG file of a picture, as built into the executable.
std::span<const unsigned char> PictureJpeg(PictureId id);

// Decodes JPEG data into 0x00RRGGBB pixels. On a decoding error returns
// nullopt and, if `error` is given, a one-line reason; never exits.
std::optional<Bitmap> DecodeJpeg(std::span<const unsigned char> jpeg, std::string* error = nullptr);

// PictureJpeg decoded; nullopt (with the reason) only if the built-in data is damaged.
std::optional<Bitmap> LoadPicture(PictureId id, std::string* error = nullptr);

}  // namespace varek
