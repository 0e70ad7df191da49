// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/plot_plan.h"

#include <algorithm>
#include <cmath>

#include "measurement/decimal_text.h"

namespace varek {

namespace {

constexpr int TargetTicks = 5;
constexpr double Headroom = 1.05;  // the highest point stays inside the frame
// Empty axes before the first row: the ranges of the window's controls.
constexpr double EmptyHighestX = 2000, EmptyHighestY = 3;

// Sizes in units of the text size.
constexpr double CharacterWidth = 0.62;  // of a digit, about, in a sans-serif face
constexpr double MarginTitle = 2.4;      // left of the tick labels: the vertical title
constexpr double MarginBottom = 3.4;
constexpr double MarginTop = 1.0;
constexpr double MarginRight = 1.6;  // half the last label of the x axis
constexpr double TickGap = 0.35;
constexpr double PointRadius = 0.35;
constexpr double BarCap = 0.5;  // half the width of an error bar's end: wider than a point

constexpr PlotColour Grid = 0xDCDCDC, Axes = 0x000000, Fit = 0xC81E1E;
constexpr PlotColour PointFill = 0x4682DC, PointEdge = 0x003CA0, OutlierEdge = 0xC81E1E;

// A round step (1, 2 or 5 times a power of ten) that divides 0..highest into
// about TargetTicks parts.
double TickStep(double highest) {
  const double raw = highest / TargetTicks;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= raw) return factor * power;
  }
  return 10 * power;
}

std::vector<PlotTick> Ticks(double highest, double& end) {
  const double step = TickStep(highest * Headroom);
  const int count = static_cast<int>(std::ceil(highest * Headroom / step));
  end = count * step;
  // As many decimals as the step needs.
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
  std::vector<PlotTick> ticks;
  for (int i = 0; i <= count; ++i)
    ticks.push_back({i * step, ForPerson(FixedText(i * step, decimals))});
  return ticks;
}

}  // namespace

PlotPlan PlanPlot(std::span<const Measurement> rows, std::span<const OutlierMark> marks,
                  const std::optional<SeriesResult>& fit, double width, double height,
                  double text_size) {
  PlotPlan plan;
  plan.width = width;
  plan.height = height;
  // I² ± its uncertainty 2·I·ΔI.
  const auto spread = [](const Measurement& row) {
    return HasReadingUncertainty(row) ? 2 * row.current * *row.reading_uncertainty : 0.0;
  };
  double highest_x = 0, highest_y = 0;
  std::size_t bars = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Measurement& row = rows[i];
    highest_x = std::max(highest_x, row.order * row.order * row.voltage);
    highest_y = std::max(highest_y, row.current * row.current + spread(row));
    if (spread(row) > 0) ++bars;
  }
  // The grid's lines, the axes, the fitted line and three lines a bar.
  plan.lines.reserve(2 * TargetTicks + 8 + 3 * bars);
  plan.marks.reserve(rows.size());
  if (highest_x <= 0) highest_x = EmptyHighestX;
  if (highest_y <= 0) highest_y = EmptyHighestY;
  plan.x_ticks = Ticks(highest_x, plan.x_end);
  plan.y_ticks = Ticks(highest_y, plan.y_end);
  plan.x_title = "k\u00b2 \u00b7 U in V";
  plan.y_title = "I\u00b2 in A\u00b2";

  std::size_t widest = 0;
  for (const PlotTick& tick : plan.y_ticks) widest = std::max(widest, tick.label.size());
  plan.left = text_size * (CharacterWidth * static_cast<double>(widest) + MarginTitle);
  plan.top = text_size * MarginTop;
  plan.right = width - text_size * MarginRight;
  plan.bottom = height - text_size * MarginBottom;
  const auto px = [&](double x) { return plan.left + x / plan.x_end * (plan.right - plan.left); };
  const auto py = [&](double y) { return plan.bottom - y / plan.y_end * (plan.bottom - plan.top); };

  for (const PlotTick& tick : plan.x_ticks) {
    plan.lines.push_back({px(tick.value), plan.top, px(tick.value), plan.bottom, 1, Grid});
    plan.texts.push_back({px(tick.value), plan.bottom + TickGap * text_size, tick.label, text_size,
                          false, Anchor::TopCentre, false, Axes});
  }
  for (const PlotTick& tick : plan.y_ticks) {
    plan.lines.push_back({plan.left, py(tick.value), plan.right, py(tick.value), 1, Grid});
    plan.texts.push_back({plan.left - TickGap * text_size, py(tick.value), tick.label, text_size,
                          false, Anchor::MiddleRight, false, Axes});
  }
  plan.lines.push_back({plan.left, plan.bottom, plan.right, plan.bottom, 1.5, Axes});
  plan.lines.push_back({plan.left, plan.bottom, plan.left, plan.top, 1.5, Axes});
  plan.texts.push_back({(plan.left + plan.right) / 2, height - TickGap * text_size, plan.x_title,
                        text_size, true, Anchor::BottomCentre, false, Axes});
  plan.texts.push_back({MarginTitle * text_size / 2, (plan.top + plan.bottom) / 2, plan.y_title,
                        text_size, true, Anchor::MiddleCentre, true, Axes});

  if (fit && fit->slope > 0) {
    // I² = a k²U from the origin to the edge of the area it leaves first.
    const double x_end = std::min(plan.x_end, plan.y_end / fit->slope);
    plan.lines.push_back({px(0), py(0), px(x_end), py(fit->slope * x_end), 2, Fit});
  }
  for (const Measurement& row : rows) {
    if (spread(row) <= 0) continue;
    const double x = px(row.order * row.order * row.voltage), cap = BarCap * text_size;
    const double low = py(std::max(0.0, row.current * row.current - spread(row)));
    const double high = py(row.current * row.current + spread(row));
    plan.lines.push_back({x, low, x, high, 1, PointEdge});
    plan.lines.push_back({x - cap, low, x + cap, low, 1, PointEdge});
    plan.lines.push_back({x - cap, high, x + cap, high, 1, PointEdge});
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Measurement& row = rows[i];
    const bool marked = i < marks.size() && marks[i].marked;
    const bool left_out = i < marks.size() && !Included(row, marks[i]);
    plan.marks.push_back({px(row.order * row.order * row.voltage), py(row.current * row.current),
                          PointRadius * text_size, left_out, left_out ? plan.background : PointFill,
                          marked ? OutlierEdge : PointEdge, left_out ? 3.0 : 1.5});
  }
  return plan;
}

}  // namespace varek
