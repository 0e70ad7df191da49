// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's plot, I² over k²·U with the points and the fitted line
// through the origin, as a plan that a front end only draws: every line,
// mark and text with its place in the frame (x to the right, y downwards,
// in the frame's units), its size and its colour. The window's painter, the
// PNG, SVG and PDF files and the browser's canvas draw the same plan; none
// of them computes a range, a tick or a margin of its own.
//
// Drawing: fill the frame with `background`; draw `lines` in order (round
// caps), then `marks` (a disc filled with `fill` and outlined with `edge`;
// a row left out of the fit is a ring: outline only, twice as wide), then `texts` (sans
// serif, `size` high, `bold`, anchored as given, turned a quarter to the
// left when `vertical`).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "measurement/evaluation.h"
#include "measurement/protocol_checks.h"

namespace varek {

using PlotColour = std::uint32_t;  // 0xRRGGBB

struct PlotLine {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double width = 1;
  PlotColour colour = 0;
};

struct PlotMark {
  double x = 0, y = 0;
  double radius = 0;
  bool outlier = false;  // left out of the fit: a ring
  PlotColour fill = 0, edge = 0;
  double edge_width = 1;
};

// Where (x, y) lies on the text's box.
enum class Anchor {
  TopCentre,     // tick labels of the x axis
  MiddleRight,   // tick labels of the y axis
  BottomCentre,  // the title of the x axis
  MiddleCentre,  // the title of the y axis (vertical)
};

struct PlotText {
  double x = 0, y = 0;
  std::string text;
  double size = 13;
  bool bold = false;
  Anchor anchor = Anchor::TopCentre;
  bool vertical = false;
  PlotColour colour = 0;
};

struct PlotTick {
  double value = 0;  // in the axis's unit
  std::string label;
};

struct PlotPlan {
  double width = 0, height = 0;  // the frame
  PlotColour background = 0xFFFFFF;
  std::string font_family = "DejaVu Sans";
  // The area of the data inside the margins, and what its edges stand for.
  double left = 0, top = 0, right = 0, bottom = 0;
  double x_end = 0;  // k²·U in V at the right edge (0 at the left)
  double y_end = 0;  // I² in A² at the top edge (0 at the bottom)
  std::vector<PlotTick> x_ticks, y_ticks;
  std::string x_title, y_title;
  std::vector<PlotLine> lines;  // grid, axes, fitted line, error bars: in drawing order
  std::vector<PlotMark> marks;  // one a row, in the table's order
  std::vector<PlotText> texts;  // tick labels and axis titles
};

// The plot as a file (PNG, SVG, the printed page): 16 by 10, its text a
// little larger than on screen; the PNG at twice that size, for a page column.
inline constexpr double ExportPlotWidth = 800, ExportPlotHeight = 500;
inline constexpr double ExportPlotTextSize = 16;
inline constexpr int ExportPngScale = 2;

// The plan for a frame of width × height units with text `text_size` high.
// `fit`: the series' fit through the rows that count (Included), as the
// result states it, drawn as its line; a row with a reading uncertainty has
// an error bar of ± 2·I·ΔI on I².
PlotPlan PlanPlot(std::span<const Measurement> rows, std::span<const OutlierMark> marks,
                  const std::optional<SeriesResult>& fit, double width, double height,
                  double text_size = 13);

}  // namespace varek
