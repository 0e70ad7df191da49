// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>
#include <optional>

#include "model/extended.h"
#include "model/rounding_estimate.h"
#include "render/scale.h"
#include "render/scene_renderer.h"

namespace varek {

namespace {

constexpr std::int64_t EyeDistance = 4500;  // scene units from the eye to the image plane z = 0
constexpr int CentreX = SceneWidth / 2;     // the model origin falls on pixel (360, 220)
constexpr int CentreY = SceneHeight / 2;
// View points lie within 375 units of the origin, so the divisor stays between
// about 4125 and 4875; the clamp only keeps the conversion defined for a point
// at or behind the eye, which the scene never holds.
constexpr Extended MaxOffset = 1 << 30;

// The quotient numerator / divisor in extended precision, kept within
// +-MaxOffset.
Extended ClampedQuotient(std::int64_t numerator, std::int64_t divisor) {
  if (divisor == 0) return numerator == 0 ? 0 : (numerator > 0 ? MaxOffset : -MaxOffset);
  const Extended quotient = static_cast<Extended>(numerator) / static_cast<Extended>(divisor);
  if (quotient > MaxOffset) return MaxOffset;
  if (quotient < -MaxOffset) return -MaxOffset;
  return quotient;
}

// Divisors and numerators for which the doubles estimate a pixel: the
// quotient then errs by at most 2^-37 (2^16 * 2^-53), and within 2^16 of the
// centre at up to 64 device pixels per picture pixel the pixel's value,
// below 2^23, by less than 2^-26 in all.
constexpr double EstimatedDivisorUpTo = 1LL << 40;
constexpr double EstimatedNumeratorUpTo = 1LL << 52;
constexpr double EstimatedQuotientUpTo = 1 << 16;
constexpr double EstimatedScaleUpTo = 64;

// ScaledPixel(centre + sign * numerator / divisor, scale) where doubles
// decide its rounding.
std::optional<std::int32_t> PixelEstimated(int centre, double sign, std::int64_t numerator,
                                           std::int64_t divisor, double scale) {
  const auto n = static_cast<double>(numerator), d = static_cast<double>(divisor);
  if (d < 1 || d > EstimatedDivisorUpTo || n > EstimatedNumeratorUpTo ||
      n < -EstimatedNumeratorUpTo || scale > EstimatedScaleUpTo)
    return std::nullopt;
  const double quotient = n / d;
  if (quotient > EstimatedQuotientUpTo || quotient < -EstimatedQuotientUpTo) return std::nullopt;
  return RoundClearOfHalf(scale * (centre + sign * quotient + 0.5) - 0.5);
}

}  // namespace

PixelPoint ProjectPoint(const Vec3i& view, int perspective_factor, Extended scale) {
  const std::int64_t f = perspective_factor;
  const std::int64_t divisor = f * view.z + EyeDistance;
  const auto scale_d = static_cast<double>(scale);
  const auto x_estimated = PixelEstimated(CentreX, 1, f * view.x * EyeDistance, divisor, scale_d);
  const auto y_estimated = PixelEstimated(CentreY, -1, f * view.y * EyeDistance, divisor, scale_d);
  if (x_estimated && y_estimated) return {*x_estimated, *y_estimated};
  // X = 360 + r(f x 4500 / d), Y = 220 - r(f y 4500 / d) with d = f z + 4500.
  // Adding the even centre before rounding keeps the halves' rounding, and a
  // quotient that is not a half lies at least 1/(2 d) from one, far beyond the
  // sum's rounding error: at k = 1 the pixels are centre + r(quotient).
  const Extended x = ClampedQuotient(f * view.x * EyeDistance, divisor);
  const Extended y = ClampedQuotient(f * view.y * EyeDistance, divisor);
  return {ScaledPixel(CentreX + x, scale), ScaledPixel(CentreY - y, scale)};
}

}  // namespace varek
