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
// the mark covers whole replace the picture's; the others are blended over
// it (the picture is opaque: the frame is filled first).
//
//   place(marks, count, scale, width, height)  -> stamps still to be made
//   for each: stamp_pixels(size) <- the canvas's pixels; stamp(k)
//   lines(lines, count, scale)                 -> the lines to stroke
//   picture() <- the canvas's pixels; lay(); picture() -> the canvas
//
// The numbers of a mark and of a line are those of the bridge's plan to
// draw (bridge.cpp DrawingJson); pixels are words A B G R from the high byte.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
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

struct Stamp {
  int size = 0;   // pixels each way
  int whole = 0;  // the pixels it covers whole come first
  std::vector<int> across, down;
  std::vector<std::uint32_t> colour;                   // opaque
  std::vector<std::uint32_t> alpha;                    // coverage
  std::vector<std::uint32_t> red_blue, green;          // the colour times it (red low, blue high)
  int width = -1;                                      // of the picture `offsets` are for
  std::vector<int> offsets;
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
std::vector<std::uint32_t> picture;
std::vector<double> shown;  // the lines to stroke, LineNumbers each, in device pixels

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

const std::vector<int>& Offsets(Stamp& stamp) {
  if (stamp.width != width) {
    stamp.width = width;
    stamp.offsets.resize(stamp.across.size());
    for (std::size_t k = 0; k < stamp.across.size(); ++k)
      stamp.offsets[k] = stamp.down[k] * width + stamp.across[k];
  }
  return stamp.offsets;
}

// Calls visit(o, k) for each pixel k from `first` to before `end` of the
// n-th placed mark's stamp that lies in the picture, o the place there.
template <typename Visit>
void EachPixel(std::size_t n, std::size_t first, std::size_t end, Visit visit) {
  Stamp& stamp = StampOf(n);
  const int x0 = left[n], y0 = top[n];
  if (x0 >= 0 && y0 >= 0 && x0 + stamp.size <= width && y0 + stamp.size <= height) {
    const int* const offsets = Offsets(stamp).data();
    const std::size_t base = static_cast<std::size_t>(y0) * width + x0;
    for (std::size_t k = first; k < end; ++k) visit(base + offsets[k], k);
    return;
  }
  for (std::size_t k = first; k < end; ++k) {
    const int x = x0 + stamp.across[k], y = y0 + stamp.down[k];
    if (x >= 0 && y >= 0 && x < width && y < height)
      visit(static_cast<std::size_t>(y) * width + x, k);
  }
}

// v / 255 for each 16-bit half of `halves` (each below 65535), rounded down.
std::uint32_t Over255(std::uint32_t halves) {
  return ((halves + 0x00010001 + ((halves >> 8) & 0x00ff00ff)) >> 8) & 0x00ff00ff;
}

// The opaque pixel `d` with a pixel of a stamp over it that covers it in
// part (`alpha` of 255; its red and blue times that in the low and high
// half of red_blue, its green times that): each colour is
// (the stamp's + d's times (255 - alpha) + 127) / 255, red and blue at once
// (neither half exceeds 255 · 255 + 127, so none carries into the other).
std::uint32_t Blended(std::uint32_t d, std::uint32_t alpha, std::uint32_t red_blue,
                      std::uint32_t green) {
  const std::uint32_t b = 255 - alpha;
  const std::uint32_t rb = Over255((d & 0x00ff00ff) * b + red_blue + 0x007f007f);
  const std::uint32_t g = Over255(((d >> 8) & 255) * b + green + 127);
  return 0xff000000 | rb | (g << 8);
}

// Which pixels of the picture the placed marks cover whole, and for each
// place how many of the pixels above and left of it they cover (a row and
// a column more than the picture): kept from one plot to the next, not
// made anew each time (a megabyte or more each at a large plot).
std::vector<std::uint8_t> hidden;
std::vector<int> sums;

// Fills `hidden` and `sums` for the marks placed last.
void HiddenSums() {
  hidden.assign(static_cast<std::size_t>(width) * height, 0);
  for (std::size_t n = 0; n < slot.size(); ++n) {
    EachPixel(n, 0, static_cast<std::size_t>(StampOf(n).whole),
              [&](std::size_t o, std::size_t) { hidden[o] = 1; });
  }
  const std::size_t span = static_cast<std::size_t>(width) + 1;
  // The first row and column are 0; every other place is written below.
  sums.resize(span * (static_cast<std::size_t>(height) + 1));
  std::fill_n(sums.begin(), span, 0);
  for (std::size_t y = 1; y <= static_cast<std::size_t>(height); ++y) sums[y * span] = 0;
  for (std::size_t y = 0, o = 0; y < static_cast<std::size_t>(height); ++y) {
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
  const auto at = [&](int y, int x) {
    return sums[static_cast<std::size_t>(y) * (static_cast<std::size_t>(width) + 1) +
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
    if (its_look.stamps[static_cast<std::size_t>(k)] == -1) {
      its_look.stamps[static_cast<std::size_t>(k)] = -2;  // asked for
      needed.insert(needed.end(),
                    {static_cast<double>(slot[n]), static_cast<double>(2 * its_look.reach + 2),
                     its_look.reach + static_cast<double>(dx) / Steps,
                     its_look.reach + static_cast<double>(dy) / Steps, key[1] * scale,
                     key[2] * scale, key[3], key[4]});
    }
  }
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
// the needed ones): the pixels it covers whole first, then those it covers
// in part, each with its colour times its coverage.
EMSCRIPTEN_KEEPALIVE void varek_plot_stamp(int stamp_slot) {
  Stamp stamp;
  stamp.size = scratch_size;
  const auto take = [&](std::size_t p) {
    const std::uint32_t c = scratch[p] | 0xff000000, a = scratch[p] >> 24;
    stamp.across.push_back(static_cast<int>(p % static_cast<std::size_t>(stamp.size)));
    stamp.down.push_back(static_cast<int>(p / static_cast<std::size_t>(stamp.size)));
    stamp.colour.push_back(c);
    stamp.alpha.push_back(a);
    stamp.red_blue.push_back((c & 255) * a | ((c >> 16) & 255) * a << 16);
    stamp.green.push_back(((c >> 8) & 255) * a);
  };
  for (std::size_t p = 0; p < scratch.size(); ++p) {
    if (scratch[p] >> 24 == 255) take(p);
  }
  stamp.whole = static_cast<int>(stamp.across.size());
  for (std::size_t p = 0; p < scratch.size(); ++p) {
    if (scratch[p] >> 24 != 0 && scratch[p] >> 24 != 255) take(p);
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

// The picture's pixels (width × height of the last place), for the canvas's
// to be put in before varek_plot_lay and taken out after.
EMSCRIPTEN_KEEPALIVE std::uint32_t* varek_plot_picture() {
  picture.resize(static_cast<std::size_t>(width) * height);
  return picture.data();
}

// The placed marks laid over the picture, in their order: of each, the
// pixels it covers whole, then those it blends (the two never meet).
EMSCRIPTEN_KEEPALIVE void varek_plot_lay() {
  std::uint32_t* const pixels = picture.data();
  for (std::size_t n = 0; n < slot.size(); ++n) {
    const Stamp& stamp = StampOf(n);
    const auto whole = static_cast<std::size_t>(stamp.whole);
    const std::uint32_t* const colour = stamp.colour.data();
    EachPixel(n, 0, whole, [&](std::size_t o, std::size_t k) { pixels[o] = colour[k]; });
    const std::uint32_t *const alpha = stamp.alpha.data(), *const red_blue = stamp.red_blue.data(),
                               *const green = stamp.green.data();
    EachPixel(n, whole, stamp.across.size(), [&](std::size_t o, std::size_t k) {
      pixels[o] = Blended(pixels[o], alpha[k], red_blue[k], green[k]);
    });
  }
}

}  // extern "C"
