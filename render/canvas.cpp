// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace varek {

namespace {

// The dotted pen: three pixels of pen colour, three of brush colour.
constexpr std::int64_t DotOn = 3;
constexpr std::int64_t DotPeriod = 6;

__extension__ using Wide = unsigned __int128;
__extension__ using WideSigned = __int128;  // 2 t |minor| overflows 64 bits for far-off end points

// floor((2 t a + c) / (2 b)) and its remainder, for t, a, c >= 0 and b > 0.
// In 64 bits while every operand stays below 2^30 (the numerator then below
// 2^62), as on every line of a picture; far-off end points take 128 bits.
// WebAssembly has no 128-bit division: it is a call of a long routine there.
struct Division {
  std::int64_t quotient, remainder;
};
Division StepQuotient(std::int64_t t, std::int64_t a, std::int64_t c, std::int64_t b) {
  constexpr std::uint64_t Small = std::uint64_t{1} << 30;
  if ((static_cast<std::uint64_t>(t) | static_cast<std::uint64_t>(a) |
       static_cast<std::uint64_t>(c) | static_cast<std::uint64_t>(b)) < Small) {
    const std::int64_t num = 2 * t * a + c;
    return {num / (2 * b), num % (2 * b)};
  }
  const WideSigned num = 2 * static_cast<WideSigned>(t) * a + c;
  return {static_cast<std::int64_t>(num / (2 * static_cast<WideSigned>(b))),
          static_cast<std::int64_t>(num % (2 * static_cast<WideSigned>(b)))};
}

// The pixel sequence of a line from (x0, y0) to (x1, y1): step t (0..n,
// n = the longer of |dx|, |dy|) moves t pixels along the major axis and
// m(t) = floor((2 t |minor| + |major|) / (2 |major|)) along the minor one,
// i.e. t * |minor| / |major| rounded half up. Calls fn(t, x, y) for the steps
// in [0, last] whose pixel lies within the bitmap grown by `margin` on every
// side, without walking the steps outside it.
template <typename Fn>
void ForEachLinePixel(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      std::int64_t last, std::int64_t width, std::int64_t height,
                      std::int64_t margin, Fn fn) {
  const bool x_major = std::abs(x1 - x0) >= std::abs(y1 - y0);
  const std::int64_t major0 = x_major ? x0 : y0;
  const std::int64_t minor0 = x_major ? y0 : x0;
  const std::int64_t dmajor = x_major ? x1 - x0 : y1 - y0;
  const std::int64_t dminor = x_major ? y1 - y0 : x1 - x0;
  const std::int64_t amaj = std::abs(dmajor);
  const std::int64_t amin = std::abs(dminor);
  const std::int64_t smaj = dmajor < 0 ? -1 : 1;
  const std::int64_t smin = dminor < 0 ? -1 : 1;
  const std::int64_t major_limit = (x_major ? width : height) + margin;  // exclusive
  const std::int64_t minor_limit = (x_major ? height : width) + margin;
  const std::int64_t lo = -margin;

  if (amaj == 0) {  // a single point
    if (last >= 0 && x0 >= lo && y0 >= lo && x0 < width + margin && y0 < height + margin)
      fn(0, x0, y0);
    return;
  }

  // Steps whose major coordinate lies in [lo, major_limit).
  std::int64_t t_first = 0;
  std::int64_t t_last = last;
  if (smaj > 0) {
    t_first = std::max(t_first, lo - major0);
    t_last = std::min(t_last, major_limit - 1 - major0);
  } else {
    t_first = std::max(t_first, major0 - (major_limit - 1));
    t_last = std::min(t_last, major0 - lo);
  }
  if (t_first > t_last) return;

  // Steps whose minor offset m(t) keeps the minor coordinate in range.
  const auto m = [&](std::int64_t t) { return StepQuotient(t, amin, amaj, amaj).quotient; };
  const std::int64_t m_lo = smin > 0 ? lo - minor0 : minor0 - (minor_limit - 1);
  const std::int64_t m_hi = smin > 0 ? minor_limit - 1 - minor0 : minor0 - lo;
  if (m(t_first) < m_lo) {  // first step with m(t) >= m_lo
    std::int64_t a = t_first, b = t_last + 1;
    while (a < b) {
      const std::int64_t mid = a + (b - a) / 2;
      if (m(mid) >= m_lo) b = mid;
      else a = mid + 1;
    }
    t_first = a;
  }
  if (t_first > t_last) return;
  if (m(t_last) > m_hi) {  // last step with m(t) <= m_hi
    std::int64_t a = t_first - 1, b = t_last;
    while (a < b) {
      const std::int64_t mid = b - (b - a) / 2;
      if (m(mid) <= m_hi) a = mid;
      else b = mid - 1;
    }
    t_last = a;
  }
  if (t_first > t_last) return;

  auto [off, rem] = StepQuotient(t_first, amin, amaj, amaj);
  for (std::int64_t t = t_first; t <= t_last; ++t) {
    const std::int64_t major = major0 + smaj * t;
    const std::int64_t minor = minor0 + smin * off;
    if (x_major) fn(t, major, minor);
    else fn(t, minor, major);
    // m(t + 1): the numerator grows by 2|minor|, at most one whole 2|major|.
    rem += 2 * amin;
    if (rem >= 2 * amaj) {
      rem -= 2 * amaj;
      ++off;
    }
  }
}

// Inclusive pixel span [left, right] of one row of an ellipse; empty when left > right.
struct Span {
  std::int64_t left = 1;
  std::int64_t right = 0;
  bool Empty() const { return left > right; }
};

// The ellipse of the box [x1, x2) x [y1, y2) holds the pixels whose centres
// lie inside or on the ellipse inscribed in the box. In doubled coordinates
// (X = 2x + 1 - (x1 + x2), Y likewise, RX = x2 - x1, RY = y2 - y1) a pixel is
// inside when X^2 RY^2 + Y^2 RX^2 <= RX^2 RY^2.
class EllipseRows {
 public:
  EllipseRows(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2)
      : y1_(y1), y2_(y2), sx_(x1 + x2), sy_(y1 + y2), rx_(x2 - x1), ry_(y2 - y1) {}

  Span Row(std::int64_t y) const {
    Span span;
    if (y < y1_ || y >= y2_) return span;
    const std::int64_t Y = 2 * y + 1 - sy_;
    const Wide ry2 = static_cast<Wide>(ry_) * static_cast<Wide>(ry_);
    const Wide y2 = static_cast<Wide>(std::abs(Y)) * static_cast<Wide>(std::abs(Y));
    const Wide q = static_cast<Wide>(rx_) * static_cast<Wide>(rx_) * (ry2 - y2);
    const auto fits = [&](std::int64_t X) {
      return static_cast<Wide>(X) * static_cast<Wide>(X) * ry2 <= q;
    };
    std::int64_t X = static_cast<std::int64_t>(
        std::sqrt(static_cast<long double>(q) / static_cast<long double>(ry2)));
    while (fits(X + 1)) ++X;
    while (X > 0 && !fits(X)) --X;
    // X must have the parity of 1 - (x1 + x2).
    if (((X - (1 - sx_)) % 2) != 0) --X;
    if (X < 0) return span;
    span.left = (sx_ - 1 - X) / 2;
    span.right = (X + sx_ - 1) / 2;
    return span;
  }

 private:
  std::int64_t y1_, y2_, sx_, sy_, rx_, ry_;
};

}  // namespace

Canvas::Canvas(Bitmap& target) : target_(target) { FitToTarget(); }

void Canvas::FitToTarget() {
  const std::size_t size =
      static_cast<std::size_t>(target_.width) * static_cast<std::size_t>(target_.height);
  if (fill_visited_.size() != size) {
    fill_visited_.assign(size, 0);
    fill_queue_.assign(size, 0);
  }
}

void Canvas::Plot(std::int64_t x, std::int64_t y, Pixel colour) {
  if (x >= 0 && y >= 0 && x < target_.width && y < target_.height)
    target_.At(static_cast<int>(x), static_cast<int>(y)) = colour;
}

void Canvas::HorizontalRun(std::int64_t y, std::int64_t from, std::int64_t to, Pixel colour) {
  if (y < 0 || y >= target_.height) return;
  from = std::max<std::int64_t>(from, 0);
  to = std::min<std::int64_t>(to, target_.width - 1);
  if (from > to) return;
  Pixel* row = &target_.At(0, static_cast<int>(y));
  std::fill(row + from, row + to + 1, colour);
}

void Canvas::SetPenWidth(int width) {
  pen_width_ = width < 1 ? 1 : width;
  // The brush: a disc of diameter w centred on the pixel (odd w) or on its
  // top-left corner (even w): offsets with (2dx + e)^2 + (2dy + e)^2 <= w^2,
  // e = 1 for even w.
  const std::int64_t w = pen_width_;
  const std::int64_t e = (w % 2 == 0) ? 1 : 0;
  brush_rows_.clear();
  for (std::int64_t dy = -(w / 2); dy <= (w - 1) / 2; ++dy) {
    std::int64_t first = 1, last = 0;
    for (std::int64_t dx = -(w / 2); dx <= (w - 1) / 2; ++dx) {
      const std::int64_t a = 2 * dx + e, b = 2 * dy + e;
      if (a * a + b * b <= w * w) {
        if (first > last) first = dx;
        last = dx;
      }
    }
    if (first <= last) brush_rows_.push_back({dy, first, last});
  }
}

void Canvas::Stamp(std::int64_t x, std::int64_t y) {
  for (const BrushRow& row : brush_rows_)
    HorizontalRun(y + row.dy, x + row.first, x + row.last, pen_colour_);
}

void Canvas::MoveTo(int x, int y) {
  pos_x_ = x;
  pos_y_ = y;
  dot_phase_ = 0;
}

void Canvas::LineTo(int x, int y) {
  LineTo(x, y, std::max(std::abs(x - pos_x_), std::abs(y - pos_y_)));
}

void Canvas::LineTo(int x, int y, std::int64_t picture_steps) {
  if (pen_width_ > 1) WideLine(pos_x_, pos_y_, x, y);
  else ThinLine(pos_x_, pos_y_, x, y, picture_steps);
  pos_x_ = x;
  pos_y_ = y;
}

void Canvas::ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      std::int64_t picture_steps) {
  const std::int64_t n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  if (n == 0) return;
  const std::int64_t band = thin_band_;
  if (band == 1 && pen_style_ == PenStyle::Solid && y0 == y1) {  // horizontal, end point excluded
    if (x1 > x0) HorizontalRun(y0, x0, x1 - 1, pen_colour_);
    else HorizontalRun(y0, x1 + 1, x0, pen_colour_);
    return;
  }
  if (band == 1 && pen_style_ == PenStyle::Solid && x0 == x1) {  // vertical, end point excluded
    if (x0 < 0 || x0 >= target_.width) return;
    const std::int64_t from = std::max<std::int64_t>(std::min(y0, y1 + 1), 0);
    const std::int64_t to = std::min<std::int64_t>(std::max(y0, y1 - 1), target_.height - 1);
    for (std::int64_t y = from; y <= to; ++y)
      target_.At(static_cast<int>(x0), static_cast<int>(y)) = pen_colour_;
    return;
  }
  const bool dotted = pen_style_ == PenStyle::Dotted;
  const std::int64_t phase = dot_phase_;
  // A magnified line is a band across its major axis, centred on the line.
  const bool x_major = std::abs(x1 - x0) >= std::abs(y1 - y0);
  const std::int64_t before = (band - 1) / 2, after = band / 2;
  ForEachLinePixel(x0, y0, x1, y1, n - 1, target_.width, target_.height, band - 1,
                   [&](std::int64_t t, std::int64_t x, std::int64_t y) {
                     // The centre of step t of n lies on the picture's step
                     // (t + 1/2) * steps / n; unmagnified, that is step t itself. Only a
                     // dotted pen asks.
                     const auto at = [&] {
                       if (picture_steps == n) return t;
                       return StepQuotient(t, picture_steps, picture_steps, n).quotient;
                     };
                     const bool on = !dotted || (phase + at()) % DotPeriod < DotOn;
                     const Pixel colour = on ? pen_colour_ : brush_colour_;
                     if (band == 1) target_.At(static_cast<int>(x), static_cast<int>(y)) = colour;
                     else if (x_major)
                       for (std::int64_t r = y - before; r <= y + after; ++r) Plot(x, r, colour);
                     else HorizontalRun(y, x - before, x + after, colour);
                   });
  dot_phase_ = (phase + picture_steps) % DotPeriod;
}

void Canvas::WideLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
  const std::int64_t n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  ForEachLinePixel(x0, y0, x1, y1, n, target_.width, target_.height, pen_width_,
                   [&](std::int64_t, std::int64_t x, std::int64_t y) { Stamp(x, y); });
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  std::int64_t l = std::min(x1, x2), r = std::max(x1, x2) - 1;
  std::int64_t t = std::min(y1, y2), b = std::max(y1, y2) - 1;
  if (l > r || t > b) return;
  const std::int64_t band = pen_width_ > 1 ? 1 : thin_band_;  // the frame's width inside the box
  for (std::int64_t y = std::max<std::int64_t>(t + band, 0);
       y <= std::min<std::int64_t>(b - band, target_.height - 1); ++y)
    HorizontalRun(y, l + band, r - band, brush_colour_);
  if (pen_width_ > 1) {
    WideLine(l, t, r, t);
    WideLine(r, t, r, b);
    WideLine(r, b, l, b);
    WideLine(l, b, l, t);
    return;
  }
  for (std::int64_t i = 0; i < band; ++i) {
    HorizontalRun(t + i, l, r, pen_colour_);
    HorizontalRun(b - i, l, r, pen_colour_);
  }
  for (std::int64_t y = std::max<std::int64_t>(t, 0);
       y <= std::min<std::int64_t>(b, target_.height - 1); ++y) {
    HorizontalRun(y, l, std::min(r, l + band - 1), pen_colour_);
    HorizontalRun(y, std::max(l, r - band + 1), r, pen_colour_);
  }
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
  const std::int64_t l = std::min(x1, x2), r = std::max(x1, x2);
  const std::int64_t t = std::min(y1, y2), b = std::max(y1, y2);
  if (l >= r || t >= b) return;
  const EllipseRows rows(l, t, r, b);
  const std::int64_t margin = pen_width_;  // reach of a wide pen's stamps
  const std::int64_t first = std::max(t, -margin);
  const std::int64_t last = std::min(b - 1, target_.height - 1 + margin);
  // The outline of a row: its span less the pixels inside both neighbouring
  // spans (those are the interior, painted with the brush).
  const auto for_each_row = [&](auto fn) {
    if (first > last) return;
    Span above = rows.Row(first - 1), here = rows.Row(first);
    for (std::int64_t y = first; y <= last; ++y) {
      const Span below = rows.Row(y + 1);
      if (!here.Empty()) {
        Span inner{here.left + 1, here.right - 1};
        if (above.Empty() || below.Empty()) inner = Span{};
        else {
          inner.left = std::max({inner.left, above.left, below.left});
          inner.right = std::min({inner.right, above.right, below.right});
        }
        fn(y, here, inner);
      }
      above = here;
      here = below;
    }
  };
  const auto outline_runs = [](const Span& s, const Span& inner, auto run) {
    if (inner.Empty()) {
      run(s.left, s.right);
    } else {
      if (inner.left > s.left) run(s.left, inner.left - 1);
      if (inner.right < s.right) run(inner.right + 1, s.right);
    }
  };
  if (pen_width_ <= 1 && thin_band_ > 1) {
    // A magnified thin ring: the ellipse less the one inset by the band.
    const std::int64_t band = thin_band_;
    const bool hollow = r - l > 2 * band && b - t > 2 * band;
    const EllipseRows inside(l + band, t + band, r - band, b - band);
    for (std::int64_t y = std::max<std::int64_t>(t, 0);
         y <= std::min<std::int64_t>(b - 1, target_.height - 1); ++y) {
      const Span s = rows.Row(y);
      const Span inner = hollow ? inside.Row(y) : Span{};
      if (s.Empty()) continue;
      if (!inner.Empty()) HorizontalRun(y, inner.left, inner.right, brush_colour_);
      outline_runs(s, inner,
                   [&](std::int64_t a, std::int64_t z) { HorizontalRun(y, a, z, pen_colour_); });
    }
    return;
  }
  if (pen_width_ <= 1) {
    for_each_row([&](std::int64_t y, const Span& s, const Span& inner) {
      if (!inner.Empty()) HorizontalRun(y, inner.left, inner.right, brush_colour_);
      outline_runs(s, inner,
                   [&](std::int64_t a, std::int64_t z) { HorizontalRun(y, a, z, pen_colour_); });
    });
    return;
  }
  for_each_row([&](std::int64_t y, const Span&, const Span& inner) {
    if (!inner.Empty()) HorizontalRun(y, inner.left, inner.right, brush_colour_);
  });
  for_each_row([&](std::int64_t y, const Span& s, const Span& inner) {
    outline_runs(s, inner, [&](std::int64_t a, std::int64_t z) {
      a = std::max(a, -margin);
      z = std::min<std::int64_t>(z, target_.width - 1 + margin);
      for (std::int64_t x = a; x <= z; ++x) Stamp(x, y);
    });
  });
}

void Canvas::FloodFill(int x, int y, Pixel border) {
  if (!target_.Contains(x, y) || target_.At(x, y) == border) return;
  FitToTarget();
  const int w = target_.width, h = target_.height;
  std::fill(fill_visited_.begin(), fill_visited_.end(), std::uint8_t{0});
  Pixel* px = target_.pixels.data();
  std::size_t head = 0, tail = 0;
  const auto visit = [&](int index) {
    if (fill_visited_[index] == 0 && px[index] != border) {
      fill_visited_[index] = 1;
      fill_queue_[tail++] = index;
    }
  };
  visit(y * w + x);
  while (head < tail) {
    const int index = fill_queue_[head++];
    px[index] = brush_colour_;
    const int cx = index % w, cy = index / w;
    if (cx > 0) visit(index - 1);
    if (cx < w - 1) visit(index + 1);
    if (cy > 0) visit(index - w);
    if (cy < h - 1) visit(index + w);
  }
}

void Canvas::Draw(int x, int y, const Bitmap& source) {
  const int from_x = std::max(0, -x), to_x = std::min(source.width, target_.width - x);
  const int from_y = std::max(0, -y), to_y = std::min(source.height, target_.height - y);
  if (from_x >= to_x) return;
  for (int sy = from_y; sy < to_y; ++sy) {
    const Pixel* src = &source.pixels[static_cast<std::size_t>(sy) * source.width];
    std::copy(src + from_x, src + to_x, &target_.At(x + from_x, y + sy));
  }
}

}  // namespace varek
