// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of small bitmaps as text, one character per pixel, so that tests
// can state exact pixel expectations readably.
#pragma once

#include <map>
#include <string>

#include "render/bitmap.h"

namespace varek::testing {

// Colours the pictures are checked against, by their RGB values.
inline constexpr Pixel White = Rgb(255, 255, 255);
inline constexpr Pixel Black = Rgb(0, 0, 0);
inline constexpr Pixel Red = Rgb(255, 0, 0);
inline constexpr Pixel Blue = Rgb(0, 0, 255);
inline constexpr Pixel Background = Rgb(232, 232, 232);  // the scene's grey
inline constexpr Pixel ScreenGreen = Rgb(0, 128, 0);     // rim of the screen
inline constexpr Pixel ScreenFill = Rgb(180, 250, 180);

// Each pixel becomes the character its colour maps to, '?' for others; rows
// are separated by '\n'.
inline std::string PixelArt(const Bitmap& bitmap, const std::map<Pixel, char>& legend) {
  std::string art;
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const auto it = legend.find(bitmap.At(x, y));
      art += it == legend.end() ? '?' : it->second;
    }
    art += '\n';
  }
  return art;
}

// Number of pixels of exactly `colour`.
inline int CountColour(const Bitmap& bitmap, Pixel colour) {
  int n = 0;
  for (Pixel p : bitmap.pixels) n += p == colour ? 1 : 0;
  return n;
}

}  // namespace varek::testing
