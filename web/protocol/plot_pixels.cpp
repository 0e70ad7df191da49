// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The pixels of the page's plot (web/site/protocol_plot.js drawPlotPlan):
// the marks of a plan placed and laid into the picture's pixels, and the
// lines that the marks hide left out before the canvas strokes the others.
// Thousands of marks and error bars are so drawn by compiled code from the
// first plot on, not by the page's script while the engine still learns it.
//
// A mark is laid from a stamp: a small picture of one mark (a disc,
// outlined), made by the canvas, one for each look and each quarter of a
// device pixel that a mark lies off the pixel grid. A stamp's pixels that
// the mark covers whole replace the picture's, a row's run at once; the
// others are blended over it (the picture is opaque: the frame is filled
// first). What the marks after it cover whole is not laid: their pixels
// would replace it (of 20,000 marks most pixels lie under later ones).
//
//   place(marks, count, scale, width, height)  -> stamps still to be made
//   for each: stamp_pixels(size) <- the canvas's pixels; stamp(k)
//   lines(lines, count, scale)                 -> the lines to stroke
//   picture() <- the canvas's pixels of the rows first_row() to before
//   first_row() + rows(), where the marks lie; lay(); picture() -> the canvas
//
// The numbers of a mark and of a line are those of the bridge's plan to
// draw (bridge.cpp DrawingJson); pixels are words A B G R from the high byte.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int MarkNumbers = 6;  // x, y, radius, edge width, fill, edge
constexpr int LineNumbers = 6;  // x1, y1, x2, y2, width, colour
constexpr int Steps = 4;        // a stamp for every quarter of a pixel
constexpr int StampsPerLook = (Steps + 1) * (Steps + 1);
constexpr std::size_t MostLooks = 80;  // looks kept (each with its stamps)
// A stamp still to be made: its slot, size, the centre of its disc (from
// its top left), the disc's radius and edge width (device pixels), fill and edge.
constexpr int NeededNumbers = 8;

// A run of pixels of a stamp's row that the mark covers whole: `first`
// the place of its first pixel's colour in the stamp's `colour`.
struct Span {
  int down = 0, across = 0, length = 0, first = 0;
};

// A pixel of a stamp that the mark covers in part, blended over the
// picture's: `rest` is 255 less its coverage (alpha), red_blue and green its
// colour times its coverage, with the 127 of the rounding added (red low,
// blue high).
struct Blend {
  int across = 0, down = 0;
  std::uint32_t rest = 0, red_blue = 0, green = 0;
};

struct Stamp {
  int size = 0;                      // pixels each way
  std::vector<Span> spans;           // the pixels it covers whole, a run of a row each
  std::vector<std::uint32_t> colour; // theirs, opaque
  std::vector<Blend> blends;         // the pixels it covers in part
  int width = -1;                    // of the picture `offsets` are for
  std::vector<int> offsets;          // of the blends from the stamp's top left
};

struct Look {
  std::array<double, 5> key;  // scale, radius, edge width, fill, edge
  int reach = 0;              // pixels from a stamp's corner to the pixel of the mark's centre
  std::array<int, StampsPerLook> stamps;  // indices into `stamps`, -1: not made yet
};

std::vector<Look> looks;
std::vector<Stamp> stamps;
std::vector<std::uint32_t> scratch;  // a stamp's pixels from the canvas
int scratch_size = 0;                // pixels each way
std::vector<double> needed;          // NeededNumbers a stamp still to be made
// The placed marks of the last place(): their look's stamp slot and the
// place of the stamp's top left pixel.
std::vector<int> slot, left, top;
int width = 0, height = 0;
// The rows of the picture that the placed marks reach into, from band_top
// to before band_end, the part of the picture that is laid.
int band_top = 0, band_end = 0;
std::vector<std::uint32_t> picture;  // those rows' pixels
// Of each of those pixels the last placed mark that covers it whole, -1: none.
std::vector<int> whole_of;
std::vector<double> shown;  // the lines to stroke, LineNumbers each, in device pixels

// The places in the picture (from its first pixel) of the rows above the band.
std::size_t Above() { return static_cast<std::size_t>(band_top) * static_cast<std::size_t>(width); }

// Math.round: halves towards +∞.
double RoundHalfUp(double value) {
  const double low = std::floor(value);
  return value - low >= 0.5 ? low + 1 : low;
}

int LookOf(const std::array<double, 5>& key) {
  for (std::size_t i = 0; i < looks.size(); ++i) {
    if (looks[i].key == key) return static_cast<int>(i);
  }
  Look look{key, static_cast<int>(std::ceil((key[1] + key[2] / 2) * key[0])) + 1, {}};
  look.stamps.fill(-1);
  looks.push_back(look);
  return static_cast<int>(looks.size()) - 1;
}

// The stamp of the n-th placed mark.
Stamp& StampOf(std::size_t n) {
  const Look& look = looks[static_cast<std::size_t>(slot[n] / StampsPerLook)];
  return stamps[static_cast<std::size_t>(
      look.stamps[static_cast<std::size_t>(slot[n] % StampsPerLook)])];
}

// Whether the n-th placed mark's stamp lies in the picture whole.
bool Inside(std::size_t n, const Stamp& stamp) {
  return left[n] >= 0 && top[n] >= 0 && left[n] + stamp.size <= width && top[n] + stamp.size <= height;
}

// Calls visit(o, k, first, length) for each run k of the n-th placed
// mark's stamp's pixels that it covers whole, as far as it lies in the
// picture: o the place there of its first pixel, `first` that of its colour.
template <typename Visit>
void EachSpan(std::size_t n, const Stamp& stamp, Visit visit) {
  const int x0 = left[n], y0 = top[n];
  const std::size_t count = stamp.spans.size();
  if (Inside(n, stamp)) {
    const std::size_t base = static_cast<std::size_t>(y0) * width + static_cast<std::size_t>(x0);
    for (std::size_t k = 0; k < count; ++k) {
      const Span& span = stamp.spans[k];
      visit(base + static_cast<std::size_t>(span.down) * width + static_cast<std::size_t>(span.across), k,
            static_cast<std::size_t>(span.first), static_cast<std::size_t>(span.length));
    }
    return;
  }
  for (std::size_t k = 0; k < count; ++k) {
    const Span& span = stamp.spans[k];
    const int y = y0 + span.down;
    if (y < 0 || y >= height) continue;
    const int x = x0 + span.across;
    const int skipped = std::max(0, -x);
    const int length = std::min(span.length, width - x) - skipped;
    if (length <= 0) continue;
    visit(static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x + skipped), k,
          static_cast<std::size_t>(span.first + skipped), static_cast<std::size_t>(length));
  }
}

// Calls visit(o, blend) for each pixel of the n-th placed mark's stamp
// that it covers in part and that lies in the picture, o its place there.
template <typename Visit>
void EachBlend(std::size_t n, Stamp& stamp, Visit visit) {
  const int x0 = left[n], y0 = top[n];
  if (Inside(n, stamp)) {
    if (stamp.width != width) {
      stamp.width = width;
      stamp.offsets.clear();
      for (const Blend& blend : stamp.blends) stamp.offsets.push_back(blend.down * width + blend.across);
    }
    const std::size_t base = static_cast<std::size_t>(y0) * width + static_cast<std::size_t>(x0);
    for (std::size_t k = 0; k < stamp.blends.size(); ++k)
      visit(base + static_cast<std::size_t>(stamp.offsets[k]), stamp.blends[k]);
    return;
  }
  for (const Blend& blend : stamp.blends) {
    const int x = x0 + blend.across, y = y0 + blend.down;
    if (x >= 0 && y >= 0 && x < width && y < height)
      visit(static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x), blend);
  }
}

// v / 255 for each 16-bit half of `halves` (each below 65535), rounded down.
std::uint32_t Over255(std::uint32_t halves) {
  return ((halves + 0x00010001 + ((halves >> 8) & 0x00ff00ff)) >> 8) & 0x00ff00ff;
}

// The opaque pixel `d` with the stamp's pixel `blend` over it: each colour
// is (the stamp's times its alpha + d's times (255 - alpha) + 127) / 255,
// red and blue at once (neither half exceeds 255 · 255 + 127, so none
// carries into the other).
std::uint32_t Blended(std::uint32_t d, const Blend& blend) {
  const std::uint32_t rb = Over255((d & 0x00ff00ff) * blend.rest + blend.red_blue);
  const std::uint32_t g = Over255(((d >> 8) & 255) * blend.rest + blend.green);
  return 0xff000000 | rb | (g << 8);
}

// Which pixels of the band (from its first row) the placed marks cover
// whole, and for each place how many of the pixels above and left of it in
// the band they cover (a row and a column more than the band): kept from
// one plot to the next, not made anew each time (a megabyte or more each
// at a large plot).
std::vector<std::uint8_t> hidden;
std::vector<int> sums;
// Whether each run of pixels that a placed mark covers whole is laid: not
// where the marks after it cover every pixel of the run (most runs of a
// table of thousands of rows), from first_run[n] for the n-th placed mark.
// Kept for the marks placed last once `covered`, as is `hidden`.
std::vector<std::uint8_t> laid_runs;
std::vector<std::size_t> first_run;
bool covered = false;

// Whether the `length` places from `at` in `hidden` are all hidden (8 at a time).
bool AllHidden(const std::uint8_t* at, std::size_t length) {
  constexpr std::uint64_t Ones = 0x0101010101010101;
  std::size_t k = 0;
  for (; k + 8 <= length; k += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, at + k, sizeof eight);
    if (eight != Ones) return false;
  }
  for (; k < length; ++k) {
    if (at[k] == 0) return false;
  }
  return true;
}

// Fills `hidden`, `laid_runs` and `first_run` for the marks placed last,
// from the last mark to the first.
void Cover() {
  const std::size_t above = Above();
  hidden.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(band_end - band_top), 0);
  first_run.resize(slot.size() + 1);
  first_run[0] = 0;
  for (std::size_t n = 0; n < slot.size(); ++n) first_run[n + 1] = first_run[n] + StampOf(n).spans.size();
  laid_runs.assign(first_run.back(), 1);
  std::uint8_t* const marked = hidden.data();
  for (std::size_t n = slot.size(); n-- > 0;) {
    std::uint8_t* const laid = laid_runs.data() + first_run[n];
    EachSpan(n, StampOf(n), [&](std::size_t o, std::size_t k, std::size_t, std::size_t length) {
      if (AllHidden(marked + (o - above), length)) {
        laid[k] = 0;
      } else {
        std::fill_n(marked + (o - above), length, 1);
      }
    });
  }
  covered = true;
}

// Fills `hidden`, `laid_runs` and `sums` for the marks placed last.
void HiddenSums() {
  if (!covered) Cover();
  const std::size_t span = static_cast<std::size_t>(width) + 1;
  // The first row and column are 0; every other place is written below.
  const auto rows = static_cast<std::size_t>(band_end - band_top);
  sums.resize(span * (rows + 1));
  std::fill_n(sums.begin(), span, 0);
  for (std::size_t y = 1; y <= rows; ++y) sums[y * span] = 0;
  for (std::size_t y = 0, o = 0; y < rows; ++y) {
    int row = 0;
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x, ++o) {
      row += hidden[o];
      sums[(y + 1) * span + x + 1] = sums[y * span + x + 1] + row;
    }
  }
}

// Whether every pixel (by `sums`) that a line from (x1, y1) to (x2, y2) `line_width`
// wide with round caps can touch is hidden: the pixels its shape reaches
// into, and one more all round for the canvas's smoothing of its edges.
bool Hidden(double x1, double y1, double x2, double y2, double line_width) {
  const double reach = line_width / 2 + 1;
  const int l = std::max(0, static_cast<int>(std::floor(std::min(x1, x2) - reach)));
  const int r = std::min(width, static_cast<int>(std::ceil(std::max(x1, x2) + reach)));
  const int t = std::max(0, static_cast<int>(std::floor(std::min(y1, y2) - reach)));
  const int b = std::min(height, static_cast<int>(std::ceil(std::max(y1, y2) + reach)));
  if (r <= l || b <= t) return true;
  // No mark reaches into the rows outside the band.
  if (t < band_top || b > band_end) return false;
  const auto at = [&](int y, int x) {
    return sums[static_cast<std::size_t>(y - band_top) * (static_cast<std::size_t>(width) + 1) +
                static_cast<std::size_t>(x)];
  };
  return at(b, r) - at(t, r) - at(b, l) + at(t, l) == (r - l) * (b - t);
}

}  // namespace

extern "C" {

// Places the `count` marks at `marks` on a picture width × height pixels,
// `scale` device pixels a unit, in the plan's order. Returns how many of
// their stamps are still to be made: NeededNumbers each at varek_plot_needed().
EMSCRIPTEN_KEEPALIVE int varek_plot_place(const double* marks, int count, double scale,
                                          int picture_width, int picture_height) {
  width = picture_width;
  height = picture_height;
  covered = false;
  const auto marks_count = static_cast<std::size_t>(std::max(count, 0));
  slot.resize(marks_count);
  left.resize(marks_count);
  top.resize(marks_count);
  needed.clear();
  // Forgotten before, not while marks are placed with them.
  if (looks.size() >= MostLooks) {
    looks.clear();
    stamps.clear();
  }
  // Most marks look alike: the last mark's look is tried first.
  int look = -1;
  std::array<double, 5> key{};
  band_top = height;
  band_end = 0;
  for (std::size_t n = 0; n < marks_count; ++n) {
    const double* mark = marks + n * MarkNumbers;
    const std::array<double, 5> its{scale, mark[2], mark[3], mark[4], mark[5]};
    if (look < 0 || its != key) {
      key = its;
      look = LookOf(key);
    }
    const double px = mark[0] * scale, py = mark[1] * scale;
    const double x = std::floor(px), y = std::floor(py);
    const int dx = static_cast<int>(RoundHalfUp((px - x) * Steps));
    const int dy = static_cast<int>(RoundHalfUp((py - y) * Steps));
    Look& its_look = looks[static_cast<std::size_t>(look)];
    const int k = dx * (Steps + 1) + dy;
    slot[n] = look * StampsPerLook + k;
    left[n] = static_cast<int>(x) - its_look.reach;
    top[n] = static_cast<int>(y) - its_look.reach;
    band_top = std::min(band_top, std::max(top[n], 0));
    band_end = std::max(band_end, std::min(top[n] + 2 * its_look.reach + 2, height));
    if (its_look.stamps[static_cast<std::size_t>(k)] == -1) {
      its_look.stamps[static_cast<std::size_t>(k)] = -2;  // asked for
      needed.insert(needed.end(),
                    {static_cast<double>(slot[n]), static_cast<double>(2 * its_look.reach + 2),
                     its_look.reach + static_cast<double>(dx) / Steps,
                     its_look.reach + static_cast<double>(dy) / Steps, key[1] * scale,
                     key[2] * scale, key[3], key[4]});
    }
  }
  band_end = std::max(band_end, band_top);
  return static_cast<int>(needed.size() / NeededNumbers);
}

EMSCRIPTEN_KEEPALIVE const double* varek_plot_needed() { return needed.data(); }

// Room for the pixels of a stamp `size` pixels each way, as the canvas drew it.
EMSCRIPTEN_KEEPALIVE std::uint32_t* varek_plot_stamp_pixels(int size) {
  scratch_size = size;
  scratch.assign(static_cast<std::size_t>(size) * size, 0);
  return scratch.data();
}

// The pixels at varek_plot_stamp_pixels are the stamp of `stamp_slot` (of
// the needed ones): those it covers whole kept as runs of their rows, those
// it covers in part as blends (its colour times its coverage).
EMSCRIPTEN_KEEPALIVE void varek_plot_stamp(int stamp_slot) {
  Stamp stamp;
  stamp.size = scratch_size;
  const auto size = static_cast<std::size_t>(scratch_size);
  for (std::size_t p = 0; p < scratch.size(); ++p) {
    const std::uint32_t c = scratch[p] | 0xff000000, a = scratch[p] >> 24;
    const int across = static_cast<int>(p % size), down = static_cast<int>(p / size);
    if (a == 255) {
      Span* last = stamp.spans.empty() ? nullptr : &stamp.spans.back();
      if (last && last->down == down && last->across + last->length == across) {
        ++last->length;
      } else {
        stamp.spans.push_back({down, across, 1, static_cast<int>(stamp.colour.size())});
      }
      stamp.colour.push_back(c);
    } else if (a != 0) {
      stamp.blends.push_back({across, down, 255 - a, ((c & 255) * a | ((c >> 16) & 255) * a << 16) + 0x007f007f,
                              ((c >> 8) & 255) * a + 127});
    }
  }
  Look& look = looks[static_cast<std::size_t>(stamp_slot / StampsPerLook)];
  look.stamps[static_cast<std::size_t>(stamp_slot % StampsPerLook)] =
      static_cast<int>(stamps.size());
  stamps.push_back(std::move(stamp));
}

// The `count` lines at `lines` in device pixels, those the placed marks
// hide left out (looked for where there are more lines than marks: error
// bars shorter than their mark lie under it, three lines a mark). Lines
// along the axes keep whole device pixels: their width is rounded, and they
// lie on pixel centres (odd widths) or pixel edges (even ones). Returns
// how many are to be stroked, LineNumbers each at varek_plot_shown_lines().
EMSCRIPTEN_KEEPALIVE int varek_plot_lines(const double* lines, int count, double scale) {
  const auto lines_count = static_cast<std::size_t>(std::max(count, 0));
  const bool hiding = lines_count > slot.size();
  if (hiding) HiddenSums();
  shown.clear();
  for (std::size_t i = 0; i < lines_count; ++i) {
    const double* line = lines + i * LineNumbers;
    const double lx1 = line[0], ly1 = line[1], lx2 = line[2], ly2 = line[3];
    const bool along = lx1 == lx2 || ly1 == ly2;
    const double line_width = along ? std::max(1.0, RoundHalfUp(line[4] * scale)) : line[4] * scale;
    const bool odd = std::fmod(line_width, 2.0) == 1;
    const auto snap = [&](double v) {
      return odd ? std::floor(v * scale) + 0.5 : RoundHalfUp(v * scale);
    };
    const double x1 = lx1 == lx2 ? snap(lx1) : lx1 * scale;
    const double x2 = lx1 == lx2 ? x1 : lx2 * scale;
    const double y1 = ly1 == ly2 ? snap(ly1) : ly1 * scale;
    const double y2 = ly1 == ly2 ? y1 : ly2 * scale;
    if (hiding && Hidden(x1, y1, x2, y2, line_width)) continue;
    shown.insert(shown.end(), {x1, y1, x2, y2, line_width, line[5]});
  }
  return static_cast<int>(shown.size() / LineNumbers);
}

EMSCRIPTEN_KEEPALIVE const double* varek_plot_shown_lines() { return shown.data(); }

// The rows of the picture (of the last place) that the marks are laid
// into: from first_row() on, rows() of them.
EMSCRIPTEN_KEEPALIVE int varek_plot_first_row() { return band_top; }
EMSCRIPTEN_KEEPALIVE int varek_plot_rows() { return band_end - band_top; }

// Those rows' pixels, for the canvas's to be put in before varek_plot_lay
// and taken out after.
EMSCRIPTEN_KEEPALIVE std::uint32_t* varek_plot_picture() {
  picture.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(band_end - band_top));
  return picture.data();
}

// The placed marks laid over the picture as if one after the other. A
// pixel ends with the colour of the last mark that covers it whole and
// the blends of the marks after that one over it, in their order: so the
// pixels that marks cover whole are laid first, a row's run at once, mark
// after mark; then each mark's blends where no later mark covers the pixel
// whole (which would replace it).
EMSCRIPTEN_KEEPALIVE void varek_plot_lay() {
  if (!covered) Cover();
  std::uint32_t* const pixels = picture.data();
  const std::size_t above = Above();
  whole_of.assign(picture.size(), -1);
  int* const last = whole_of.data();
  for (std::size_t n = 0; n < slot.size(); ++n) {
    const Stamp& stamp = StampOf(n);
    const std::uint8_t* const laid = laid_runs.data() + first_run[n];
    EachSpan(n, stamp, [&](std::size_t o, std::size_t k, std::size_t first, std::size_t length) {
      if (!laid[k]) return;
      std::copy_n(stamp.colour.data() + first, length, pixels + (o - above));
      std::fill_n(last + (o - above), length, static_cast<int>(n));
    });
  }
  for (std::size_t n = 0; n < slot.size(); ++n) {
    const int mark = static_cast<int>(n);
    EachBlend(n, StampOf(n), [&](std::size_t o, const Blend& blend) {
      if (last[o - above] < mark) pixels[o - above] = Blended(pixels[o - above], blend);
    });
  }
}

}  // extern "C"
