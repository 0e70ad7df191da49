// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A small raster canvas over a Bitmap, with the drawing conventions of a
// classic desktop GDI canvas that the pictures rely on:
//   - the right and bottom coordinates of a rectangle or ellipse lie just
//     outside the figure;
//   - LineTo does not paint the end point of a one-pixel line;
//   - rectangles and ellipses are outlined with the pen and filled with the brush;
//   - a one-pixel dotted pen paints its gaps in the brush colour;
//   - a pen wider than one pixel is drawn solid, with round ends and joins;
//   - a thin pen can be magnified (SetThinPenScale): a picture drawn k times
//     as large shows its one-pixel lines, frames and rings as bands about k
//     pixels wide with square ends, its dots spread over the magnified line;
//   - FloodFill paints every pixel 4-connected to the seed whose colour is not
//     exactly the border colour;
//   - everything outside the bitmap is clipped.
// Pen, brush and current position persist between calls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/extended.h"
#include "render/bitmap.h"

namespace varek {

enum class PenStyle { Solid, Dotted };

class Canvas {
 public:
  // The canvas draws into `target`, which must outlive it. The work storage of
  // the flood fill is allocated here, once, for the target's current size.
  explicit Canvas(Bitmap& target);

  void SetPenColour(Pixel colour) { pen_colour_ = colour; }
  void SetPenWidth(int width);
  void SetPenStyle(PenStyle style) { pen_style_ = style; }
  void SetBrushColour(Pixel colour) { brush_colour_ = colour; }
  // The magnification k >= 1 of the one-pixel pen: its lines, rectangle
  // frames and ellipse rings become ThinBand() pixels wide. At k = 1 (the
  // default) nothing changes.
  void SetThinPenScale(Extended k) { thin_band_ = k > 1 ? std::max(1, RoundEven(k)) : 1; }
  int ThinBand() const { return thin_band_; }

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // LineTo of a magnified line that is `picture_steps` steps long in the
  // picture at k = 1: the dotted pattern runs over those steps, spread evenly
  // along the line, so the dots fall where the smaller picture has them.
  void LineTo(int x, int y, std::int64_t picture_steps);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Ellipse(int x1, int y1, int x2, int y2);
  void FloodFill(int x, int y, Pixel border);
  // Copies `source` with its top-left corner at (x, y).
  void Draw(int x, int y, const Bitmap& source);

 private:
  // Sizes the flood fill's work storage to the target; it allocates only
  // when the target's size has changed.
  void FitToTarget();
  void Plot(std::int64_t x, std::int64_t y, Pixel colour);
  void Stamp(std::int64_t x, std::int64_t y);  // round brush of the pen's width
  void HorizontalRun(std::int64_t y, std::int64_t from, std::int64_t to, Pixel colour);
  void ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                std::int64_t picture_steps);
  void WideLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

  Bitmap& target_;
  Pixel pen_colour_ = Rgb(0, 0, 0);
  int pen_width_ = 1;
  PenStyle pen_style_ = PenStyle::Solid;
  Pixel brush_colour_ = Rgb(255, 255, 255);
  std::int64_t pos_x_ = 0;
  std::int64_t pos_y_ = 0;
  std::int64_t dot_phase_ = 0;  // pixels of dotted pattern used since the last MoveTo
  int thin_band_ = 1;

  // The rows of the round brush of the pen's width: each the run
  // [first, last] of offsets from the centre in row dy.
  struct BrushRow {
    std::int64_t dy, first, last;
  };
  std::vector<BrushRow> brush_rows_{{0, 0, 0}};

  std::vector<std::uint8_t> fill_visited_;  // one flag per pixel
  std::vector<std::int32_t> fill_queue_;    // pixel indices; each pixel enters at most once
};

}  // namespace varek
