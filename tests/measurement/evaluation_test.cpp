// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "measurement/amplitude_advice.h"
#include "measurement/decimal_text.h"
#include "measurement/evaluation.h"

namespace varek {
namespace {

Measurement Row(double voltage, double current, int order) {
  return {voltage, current, order, std::nullopt};
}

// B = mu0 n I / L = 4 pi 1e-7 * 2000 / 0.4 T per A = 2 pi mT per A. At 1000 V,
// 1 A, k = 1: e/m = 8 pi^2 U / (B^2 s^2) = 2e3 / (1e-6 * 0.095^2) = 2.21606648e11 C/kg.
TEST(EvaluationTest, OneRowGivesItsOwnValueWithoutUncertainty) {
  EXPECT_NEAR(FieldOf(1.0), 2 * std::numbers::pi * 1e-3, 1e-15);
  const std::vector<Measurement> rows = {Row(1000, 1.0, 1)};
  EXPECT_NEAR(SpecificChargeOf(rows[0]), 2e9 / (0.095 * 0.095), 1e-1);
  const auto result = EvaluateSeries(rows);
  ASSERT_TRUE(result);
  EXPECT_DOUBLE_EQ(result->specific_charge, SpecificChargeOf(rows[0]));
  EXPECT_FALSE(result->uncertainty);
  EXPECT_FALSE(EvaluateSeries({}));
}

// By hand: x = k^2 U = 1000, 2000, 1500 V; y = I^2 = 1, 2.25, 1.44 A^2.
// sum x^2 = 7.25e6, sum xy = 7660, m = 1.0565517241e-3 A^2/V;
// e/m = 8 pi^2 L^2 / (mu0^2 n^2 s^2 m) = 2.0974519575e11 C/kg;
// residuals -0.0565517, 0.1368966, -0.1448276: s_m = sqrt(sum r^2 / (2 * 7.25e6)),
// u = e/m * s_m / m = 1.07997999e10 C/kg; deviation +19.25336 %.
TEST(EvaluationTest, FitThroughTheOriginMatchesAHandComputedSeries) {
  const std::vector<Measurement> rows = {Row(1000, 1.0, 1), Row(500, 1.5, 2), Row(1500, 1.2, 1)};
  const auto result = EvaluateSeries(rows);
  ASSERT_TRUE(result);
  EXPECT_NEAR(result->slope, 1.056551724137931e-3, 1e-15);
  EXPECT_NEAR(result->specific_charge, 2.0974519575012842e11, 1e-1);
  ASSERT_TRUE(result->uncertainty);
  EXPECT_NEAR(*result->uncertainty, 1.0799799911629269e10, 1e-2);
  EXPECT_NEAR(result->deviation_percent, 19.253360633907064, 1e-9);
}

// Weighted by 1 / (2 I dI)^2, by hand (x = k^2 U, y = I^2, w = 1 / sigma^2):
// a = sum wxy / sum wx^2, u_reading(a) = 1 / sqrt(sum wx^2),
// chi^2 = sum w (y - a x)^2, scaled by sqrt(chi^2 / (N - 1)) when that is above 1.
// 600 V 0,870 A ± 10 mA, 1200 V 1,230 A ± 12 mA, 1800 V 1,507 A ± 15 mA,
// 800 V k = 2 2,007 A ± 20 mA: a = 1.2606227684e-3 A^2/V, chi^2 = 0.00824
// (the readings agree better than their dI say: not scaled),
// e/m = 1.7579140545e11, u = e/m / (a sqrt(sum wx^2)) = 1.7979391606e9 C/kg.
// The same with 1,512 A at 1800 V and dI = 2 mA everywhere: a = 1.2623342456e-3,
// chi^2 = 7.508, scaled by sqrt(7.508 / 3) = 1.58199: e/m = 1.7555306684e11,
// u = 3.7916764133e8 C/kg (from the readings alone 2.3967722825e8).
TEST(EvaluationTest, WeightedFitMatchesHandComputedSeries) {
  const auto with = [](double voltage, double current, int order, double uncertainty) {
    return Measurement{voltage, current, order, std::nullopt, Deflection::Unknown, uncertainty};
  };
  const struct {
    std::vector<Measurement> rows;
    double slope, specific_charge, uncertainty, scatter_factor;
  } cases[] = {
      {{with(600, 0.870, 1, 0.010), with(1200, 1.230, 1, 0.012), with(1800, 1.507, 1, 0.015),
        with(800, 2.007, 2, 0.020)},
       1.260622768424302e-3,
       1.7579140544672235e11,
       1.7979391605780463e9,
       1},
      {{with(600, 0.870, 1, 0.002), with(1200, 1.230, 1, 0.002), with(1800, 1.512, 1, 0.002),
        with(800, 2.007, 2, 0.002)},
       1.2623342456392066e-3,
       1.755530668402578e11,
       3.7916764132960564e8,
       1.5819927662324136},
  };
  for (const auto& c : cases) {
    const auto result = EvaluateSeries(c.rows);
    ASSERT_TRUE(result && result->uncertainty);
    EXPECT_TRUE(result->reading_uncertainty);
    EXPECT_NEAR(result->slope, c.slope, 1e-15);
    EXPECT_NEAR(result->specific_charge, c.specific_charge, 1e1);
    EXPECT_NEAR(*result->uncertainty, c.uncertainty, 1e-1);
    EXPECT_NEAR(result->scatter_factor, c.scatter_factor, 1e-12);
  }
  // One row without dI leaves the whole fit unweighted; one row with dI has
  // an uncertainty of its own: 2 dI / I relative on e/m.
  std::vector<Measurement> mixed = cases[0].rows;
  mixed[2].reading_uncertainty.reset();
  EXPECT_FALSE(EvaluateSeries(mixed)->reading_uncertainty);
  const auto one = EvaluateSeries(std::vector<Measurement>{with(1200, 1.230, 1, 0.012)});
  EXPECT_NEAR(*one->uncertainty / one->specific_charge, 2 * 0.012 / 1.230, 1e-12);
}

TEST(EvaluationTest, NumbersAreWrittenInGermanSchoolStyle) {
  const struct {
    std::string got, expected;
  } cases[] = {
      {DecimalText(1.23), "1,23"},
      {DecimalText(1200), "1200"},
      {FixedText(7.72834, 2), "7,73"},
      {SchoolNotation(1.76784e11, 0.00321e11, "C/kg"),
       "(1,7678 \u00b1 0,0032) \u00b7 10\u00b9\u00b9 C/kg"},
      {SchoolNotation(9.999996e10, std::nullopt, "C/kg"), "1,0000 \u00b7 10\u00b9\u00b9 C/kg"},
      {SchoolNotation(1.75882e11, std::nullopt, "C/kg", 6), "1,75882 \u00b7 10\u00b9\u00b9 C/kg"},
      {SchoolNotation(-2.5e-3, std::nullopt, "A"), "\u22122,5000 \u00b7 10\u207b\u00b3 A"},
      {SchoolNotation(2.5, 0.1, "V", 2), "(2,5 \u00b1 0,1) V"},
      {SchoolNotation(HUGE_VAL, std::nullopt, "C/kg"), "nicht bestimmbar"},
      {ForPerson("-0,30 %"), "\u22120,30 %"},
      {SizeInWords(1000000), "1 MB"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
  // Written in place as DecimalText writes it, on both sides of its shortcut's limits.
  for (const double value :
       {0.0, -0.0, 0.5, 1.0, 50.0, 1200.0, 1200.5, 99999.0, 100000.0, 1e6, -300.0}) {
    char text[MostDecimalChars];
    EXPECT_EQ(std::string(text, WriteDecimalText(text, value)), DecimalText(value)) << value;
  }
}

TEST(EvaluationTest, AmplitudeAdviceAtTheMeasuredLimits) {
  const struct {
    double voltage;
    int amplitude;
    AmplitudeAdvice advice;
  } cases[] = {
      {1200, 200, AmplitudeAdvice::Fine},      {300, 25, AmplitudeAdvice::Fine},
      {300, 200, AmplitudeAdvice::NearPlates}, {300, 80, AmplitudeAdvice::NearPlates},
      {2000, 40, AmplitudeAdvice::TooSmall},   {1200, 24, AmplitudeAdvice::TooSmall},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AdviceFor(c.voltage, c.amplitude), c.advice) << c.voltage << " V " << c.amplitude;
  }
}

}  // namespace
}  // namespace varek
