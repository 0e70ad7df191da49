// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's view and the plot's plan as JSON, for the browser page
// (which shows and draws them) and for comparing the page's values with the
// desktop build's. The plan's numbers have the fixed decimals the plot
// needs, the view's are texts; both the same in both builds
// (measurement/portable_chars.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/json_string.h"
#include "measurement/plot_plan.h"
#include "measurement/protocol_view.h"

namespace varek {

std::string JsonStrings(const std::vector<std::string>& texts);
// A number in its shortest digits, or null when it is not finite.
std::string JsonNumber(double value);

// {"titles", "result", "deviation", "leftOut", "summary", "warnings", "rows": [{"id",
// "cells", "outlier", "included"}]}
std::string ViewJson(const ProtocolView& view);
// The view without its rows, with "rowCount": what a page that shows only
// the rows in sight needs after every change.
std::string ViewHeadJson(const ProtocolView& view);
// The rows first .. first + count - 1 (those there) of the view, as in ViewJson.
std::string ViewRowsJson(const ProtocolView& view, std::size_t first, std::size_t count);
// Every member of the plan under its camel-case name; colours as "#rrggbb",
// anchors as "topCentre", "middleRight", "bottomCentre", "middleCentre".
// Places and sizes in the frame's units have FrameDecimals decimals.
std::string PlanJson(const PlotPlan& plan);

// The plot's places and sizes are in the frame's units (pixels on screen):
// a thousandth of one is far below what any drawing shows.
inline constexpr int FrameDecimals = 3;

}  // namespace varek
