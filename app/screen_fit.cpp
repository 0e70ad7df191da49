// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screen_fit.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace varek {

namespace {
constexpr double kZoomSteps[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0};
// Scales closer than this count as the same step (1.2499999 is 1.25).
constexpr double kSameStep = 1e-6;
}  // namespace

double FitScale(const QSize& area, const QSize& form_size) {
  if (form_size.isEmpty() || area.isEmpty()) return 1.0;
  return std::min(static_cast<double>(area.width()) / form_size.width(),
                  static_cast<double>(area.height()) / form_size.height());
}

double NextZoomStep(double scale) {
  for (double step : kZoomSteps) {
    if (step > scale + kSameStep) return step;
  }
  return kZoomSteps[std::size(kZoomSteps) - 1];
}

double PreviousZoomStep(double scale) {
  for (auto step = std::rbegin(kZoomSteps); step != std::rend(kZoomSteps); ++step) {
    if (*step < scale - kSameStep) return *step;
  }
  return kZoomSteps[0];
}

bool IsZoomStep(double zoom) {
  return std::any_of(std::begin(kZoomSteps), std::end(kZoomSteps),
                     [zoom](double step) { return std::abs(step - zoom) <= kSameStep; });
}

QSize ScaledSize(const QSize& form_size, double scale) {
  return {static_cast<int>(std::ceil(form_size.width() * scale - kSameStep)),
          static_cast<int>(std::ceil(form_size.height() * scale - kSameStep))};
}

QRect PlaceOnScreen(const QRect& client, const QRect& area, const QMargins& frame) {
  const QRect outer = client.marginsAdded(frame);
  const int left = std::max(area.left(), std::min(outer.left(), area.right() + 1 - outer.width()));
  const int top = std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - outer.height()));
  return outer.translated(left - outer.left(), top - outer.top()).marginsRemoved(frame);
}

}  // namespace varek
