// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A 32-bit off-screen picture, row-major. On the desktop a pixel is
// 0x00RRGGBB, the layout of QImage::Format_RGB32 (the window copies it
// without conversion). In WebAssembly it is the bytes R, G, B, 255, the
// layout of the page's ImageData (0xFFBBGGRR in its little-endian memory),
// so that the page takes the picture as it is: a picture on a 4K screen has
// over a million pixels. Pixels are made by Rgb() and only compared, never
// taken apart, so both layouts draw the same pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace varek {

using Pixel = std::uint32_t;

constexpr Pixel Rgb(int r, int g, int b) {
#if defined(__EMSCRIPTEN__)
  return 0xFF000000U | (static_cast<Pixel>(b) << 16) | (static_cast<Pixel>(g) << 8) |
         static_cast<Pixel>(r);
#else
  return (static_cast<Pixel>(r) << 16) | (static_cast<Pixel>(g) << 8) | static_cast<Pixel>(b);
#endif
}

// A colour given as the toolkit's 32-bit value 0x00BBGGRR (red in the low byte).
constexpr Pixel FromToolkitColour(std::uint32_t bbggrr) {
  return Rgb(static_cast<int>(bbggrr & 0xFF), static_cast<int>((bbggrr >> 8) & 0xFF),
             static_cast<int>((bbggrr >> 16) & 0xFF));
}

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // width * height, row-major

  Bitmap() = default;
  Bitmap(int w, int h, Pixel fill = Rgb(255, 255, 255))
      : width(w),
        height(h),
        pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Pixel At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Pixel& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

}  // namespace varek
