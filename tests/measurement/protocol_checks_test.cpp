// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the protocol takes and what it shows: the checks of a reading, the
// outlier marks, the summarised warnings, the result line and the plot plan.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "measurement/plot_plan.h"
#include "measurement/protocol_checks.h"
#include "measurement/protocol_view.h"

namespace varek {
namespace {

Reading Focused() {
  Reading r;
  r.voltage = 1200;
  r.current = 1230;
  r.amplitude = 200;
  r.deflection_on = true;
  r.steady = false;
  return r;
}

TEST(ProtocolChecksTest, ReadingIsRefusedWithOneSentence) {
  const struct {
    const char* name;
    void (*change)(Reading&);
    const char* starts;  // "" for a reading that is recorded
  } cases[] = {
      {"focused", [](Reading&) {}, ""},
      {"zero current", [](Reading& r) { r.current = 0; },
       "Bei 0 A Spulenstrom gibt es keinen Fokus"},
      {"deflection off", [](Reading& r) { r.deflection_on = false; },
       "Ohne Ablenkspannung fliegt der Strahl gerade"},
      {"amplitude 0", [](Reading& r) { r.amplitude = 0; },
       "Bei der Amplitude 0 fliegt der Strahl gerade"},
      {"information page", [](Reading& r) { r.information_shown = true; },
       "Die Informationsseite verdeckt"},
      {"data page", [](Reading& r) { r.data_shown = true; },
       "Die Seite \u201EDaten\u201C verdeckt"},
      {"order 5", [](Reading& r) { r.order = 5; }, "Die Fokusordnung k muss"},
      {"one milliampere", [](Reading& r) { r.current = 1; },
       "Bei diesen Einstellungen liegt kein Fokus (e/m = "},
  };
  for (const auto& c : cases) {
    Reading reading = Focused();
    c.change(reading);
    const ReadingCheck check = CheckReading(reading);
    if (*c.starts == '\0') {
      ASSERT_TRUE(check.row) << c.name << ": " << check.refusal;
      EXPECT_EQ(*check.row, (Measurement{1200, 1.23, 1, 200, Deflection::Alternating}));
      continue;
    }
    EXPECT_FALSE(check.row) << c.name;
    EXPECT_TRUE(check.refusal.starts_with(c.starts)) << c.name << ": " << check.refusal;
    EXPECT_TRUE(check.refusal.ends_with(".")) << c.name;
    EXPECT_EQ(check.refusal.find('\n'), std::string::npos) << c.name;
  }
}

TEST(ProtocolChecksTest, OutliersAreMarkedAgainstTheOthers) {
  const Measurement good[] = {{1200, 1.230, 1, 200},
                              {300, 0.614, 1, 60},
                              {800, 1.004, 1, 150},
                              {1200, 1.231, 1, 200},
                              {500, 0.793, 1, 100}};
  std::vector<Measurement> rows(std::begin(good), std::end(good));
  for (const OutlierMark& mark : OutlierMarks(rows)) EXPECT_FALSE(mark.marked);
  rows.push_back({1200, 1.3, 1, 200});  // 10 % too little e/m
  const std::vector<OutlierMark> marks = OutlierMarks(rows);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_FALSE(marks[i].marked) << i;
  EXPECT_TRUE(marks[5].marked);
  EXPECT_NEAR(marks[5].deviation_percent, -10.4, 0.1);
  // Few rows: more than 5 % from the others.
  EXPECT_FALSE(OutlierMarks(std::vector<Measurement>{good[0], good[2]})[0].marked);
  const std::vector<OutlierMark> pair =
      OutlierMarks(std::vector<Measurement>{good[0], {1200, 1.3, 1, 200}});
  EXPECT_TRUE(pair[0].marked && pair[1].marked);
  EXPECT_FALSE(pair[0].left_out || pair[1].left_out) << "which of two is wrong is not known";
  EXPECT_TRUE(marks[5].left_out);
  EXPECT_FALSE(OutlierMarks(std::vector<Measurement>{good[0]})[0].marked);
  // Identical readings have no spread: one mA off is still no outlier.
  std::vector<Measurement> same(6, good[0]);
  same.push_back({1200, 1.231, 1, 200});
  EXPECT_FALSE(OutlierMarks(same).back().marked);

  const ProtocolView view =
      ViewOf({{"a", rows[0]}, {"b", rows[5]}, {"c", rows[2]}, {"d", rows[1]}, {"e", rows[3]}});
  EXPECT_TRUE(view.rows[1].outlier);
  ASSERT_EQ(view.warnings.size(), 1u);
  EXPECT_EQ(view.warnings[0],
            "Ausreißer Nr. 2 (markiert): e/m liegt 10,4 % unter der Ausgleichsgeraden "
            "der übrigen; Fokus prüfen und neu messen.");
}

TEST(ProtocolChecksTest, ResultAndWarningsStayShortHoweverManyRows) {
  EXPECT_EQ(ViewOf({}).result,
            "Noch keine Messwerte: Fokus einstellen, dann \u201EMesswert übernehmen\u201C.");
  EXPECT_EQ(ViewOf({}).deviation, "");
  const ProtocolView one = ViewOf({{"a", {1200, 1.23, 1, 200, Deflection::Alternating}}});
  EXPECT_EQ(one.result,
            "e/m = 1,7577 \u00b7 10\u00b9\u00b9 C/kg (ein Messwert: keine Unsicherheit)");
  EXPECT_EQ(one.deviation,
            "Abweichung vom Literaturwert 1,75882 \u00b7 10\u00b9\u00b9 C/kg: \u22120,06 %");
  EXPECT_EQ(one.Cells(0)[5], "200 ~");

  // 2000 rows, every one with an unsuitable amplitude, and an outlier.
  ProtocolTable many;
  for (int i = 0; i < 2000; ++i) {
    many.push_back({"r" + std::to_string(i), {300, 0.615, 1, i % 2 ? 200 : 5, Deflection::Steady}});
  }
  many.push_back({"x", {300, 0.7, 1, 60}});
  const ProtocolView view = ViewOf(many);
  ASSERT_EQ(view.warnings.size(), 3u);
  EXPECT_EQ(view.warnings[0],
            "Ausreißer Nr. 2001 (markiert): e/m liegt 22,8 % unter der "
            "Ausgleichsgeraden der übrigen; Fokus prüfen und neu messen.");
  EXPECT_TRUE(view.warnings[1].ends_with(": Nr. 2, 4, 6, 8, 10 und 995 weitere."));
  EXPECT_TRUE(view.warnings[2].ends_with(": Nr. 1, 3, 5, 7, 9 und 995 weitere."));
  for (const std::string& line : view.warnings) EXPECT_LT(line.size(), 200u);
  EXPECT_TRUE(view.result.starts_with("e/m = 1,7"));  // the same reading 2000 times
}

// A view made from the previous one (its cells kept where a row stays) shows
// what a view made afresh shows, after each kind of change.
TEST(ProtocolChecksTest, ViewAfterAChangeShowsWhatAFreshViewShows) {
  ProtocolTable before;
  for (int i = 0; i < 40; ++i) {
    before.push_back({"r" + std::to_string(i), {300.0 + i, 0.615 + i / 1000.0, 1, 200}});
  }
  const auto without = [&](std::vector<std::size_t> gone) {
    ProtocolTable rows;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (std::find(gone.begin(), gone.end(), i) == gone.end()) rows.push_back(before[i]);
    }
    return rows;
  };
  ProtocolTable recorded = before, restored = before, changed = before, moved = before;
  recorded.push_back({"new", {900, 1.2, 1, 200}});
  restored.insert(restored.begin(), ProtocolRow{"back", {700, 0.9, 1, 200}});
  restored.insert(restored.begin() + 20, ProtocolRow{"back2", {710, 0.91, 1, 200}});
  changed[5].values.inclusion = Inclusion::Out;
  std::rotate(moved.begin(), moved.begin() + 30, moved.end());
  for (const ProtocolTable& after : {recorded, without({0}), without({7, 8, 9, 10, 11, 12}),
                                     without({39}), restored, changed, moved, ProtocolTable{}}) {
    ProtocolView previous = ViewOf(before);
    for (std::size_t i = 0; i < before.size(); ++i) previous.Cells(i);
    const ProtocolView fresh = ViewOf(after);
    const ProtocolView view = ViewOf(after, std::move(previous));
    ASSERT_EQ(view.rows.size(), after.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
      EXPECT_EQ(view.rows[i].id, after[i].id);
      EXPECT_EQ(view.Cells(i), fresh.Cells(i)) << "row " << i;
    }
  }
}

// The weighted series of evaluation_test.cpp, then with a reading far off.
TEST(ProtocolChecksTest, ResultStatesItsUncertaintyAndLeavesOutliersOut) {
  const auto row = [](const char* id, double voltage, double current, int order,
                      std::optional<double> uncertainty) {
    return ProtocolRow{id, {voltage, current, order, 200, Deflection::Alternating, uncertainty}};
  };
  ProtocolTable series = {row("a", 600, 0.870, 1, 0.010), row("b", 1200, 1.230, 1, 0.012),
                          row("c", 1800, 1.507, 1, 0.015), row("d", 800, 2.007, 2, 0.020)};
  const std::string result = "e/m = (1,7579 ± 0,0180) · 10¹¹ C/kg";
  const std::string deviation = "Abweichung vom Literaturwert 1,75882 · 10¹¹ C/kg: ";
  EXPECT_EQ(ViewOf(series).Summary(), result + "\n" + deviation + "−0,05 % = 0,1 σ: verträglich");

  series.push_back(row("e", 900, 1.201, 1, 0.010));
  ProtocolView view = ViewOf(series);
  EXPECT_EQ(view.result, result);
  EXPECT_EQ(view.left_out, "Nr. 5 nicht berücksichtigt (Ausreißer)");
  EXPECT_TRUE(view.rows[4].outlier && !view.rows[4].included);
  // Taken in by hand it counts; a row taken out by hand is named so.
  series[4].values.inclusion = Inclusion::In;
  series[0].values.inclusion = Inclusion::Out;
  view = ViewOf(series);
  EXPECT_NE(view.result, result);
  EXPECT_EQ(view.left_out, "Nr. 1 nicht berücksichtigt (abgewählt)");
  series[4].values.inclusion = Inclusion::Out;
  series[1].values.inclusion = Inclusion::Out;
  series[2].values.inclusion = Inclusion::Out;
  series[3].values.inclusion = Inclusion::Out;
  EXPECT_EQ(ViewOf(series).result,
            "Kein Messwert in der Auswertung: einen Messwert in der Tabelle anhaken.");

  // One reading at 1200 V, 1,240 A is 1,67 % low: what that means depends on its dI.
  const struct {
    std::optional<double> uncertainty;
    const char* result;
    const char* deviation;
  } readings[] = {
      {0.012, "e/m = (1,7295 ± 0,0335) · 10¹¹ C/kg", "−1,67 % = 0,9 σ: verträglich"},
      {0.004, "e/m = (1,7295 ± 0,0112) · 10¹¹ C/kg", "−1,67 % = 2,6 σ: fraglich"},
      {0.001, "e/m = (1,7295 ± 0,0028) · 10¹¹ C/kg", "−1,67 % = 10,5 σ: nicht verträglich"},
      {std::nullopt, "e/m = 1,7295 · 10¹¹ C/kg (ein Messwert: keine Unsicherheit)", "−1,67 %"},
  };
  for (const auto& r : readings) {
    view = ViewOf({row("a", 1200, 1.240, 1, r.uncertainty)});
    EXPECT_EQ(view.result, r.result);
    EXPECT_EQ(view.deviation, deviation + r.deviation);
  }
  // Without dI the result says what it leaves out.
  EXPECT_TRUE(
      ViewOf({row("a", 1200, 1.230, 1, std::nullopt), row("b", 600, 0.870, 1, std::nullopt)})
          .result.ends_with(" C/kg ohne Ableseunsicherheit"));
  // The same reading taken three times has no scatter to give an
  // uncertainty: no sigma is made of rounding noise.
  view = ViewOf({row("a", 1200, 1.231, 1, std::nullopt), row("b", 1200, 1.231, 1, std::nullopt),
                 row("c", 1200, 1.231, 1, std::nullopt)});
  EXPECT_EQ(view.result, "e/m = 1,7549 · 10¹¹ C/kg (keine Streuung: Unsicherheit nur mit ΔI)");
  EXPECT_EQ(view.deviation, deviation + "−0,22 %");
}

TEST(ProtocolChecksTest, PlotPlanPlacesEverythingInTheFrame) {
  const ProtocolView view = ViewOf({{"a", {500, 0.794, 1, 100}},
                                    {"b", {1200, 1.230, 1, 200, Deflection::Alternating, 0.02}},
                                    {"c", {2000, 1.584, 1, 250}},
                                    {"d", {1200, 1.4, 1, 200}}});
  const PlotPlan plan = PlanPlot(view, 640, 400, 13);
  EXPECT_EQ(plan.x_end, 2500);
  EXPECT_EQ(plan.y_end, 3);
  ASSERT_EQ(plan.y_ticks.size(), 4u);
  EXPECT_EQ(plan.y_ticks[1].label, "1");
  EXPECT_EQ(plan.x_ticks.back().label, "2500");
  ASSERT_EQ(plan.marks.size(), 4u);
  EXPECT_TRUE(plan.marks[3].outlier);
  EXPECT_FALSE(plan.marks[0].outlier);
  for (const PlotMark& mark : plan.marks) {
    EXPECT_GT(mark.x, plan.left);
    EXPECT_LT(mark.x, plan.right);
    EXPECT_GT(mark.y, plan.top);
    EXPECT_LT(mark.y, plan.bottom);
  }
  for (const PlotText& text : plan.texts) {
    EXPECT_GE(text.x, 0);
    EXPECT_LE(text.x, plan.width);
    EXPECT_GE(text.y, 0);
    EXPECT_LE(text.y, plan.height);
  }
  // Row b's error bar: I² ± 2·I·ΔI = 1,5129 ± 0,0492 A² through its mark.
  const PlotLine& bar = *std::find_if(plan.lines.begin(), plan.lines.end(), [&](const PlotLine& l) {
    return l.x1 == plan.marks[1].x && l.x2 == l.x1;
  });
  const double per_a2 = (plan.bottom - plan.top) / plan.y_end;
  EXPECT_NEAR(bar.y1 - plan.marks[1].y, 0.0492 * per_a2, 1e-9);
  EXPECT_NEAR(plan.marks[1].y - bar.y2, 0.0492 * per_a2, 1e-9);
  // The fitted line starts at the origin and ends on an edge of the area.
  const PlotLine& fit = *std::find_if(plan.lines.begin(), plan.lines.end(),
                                      [](const PlotLine& l) { return l.colour == 0xC81E1Eu; });
  EXPECT_EQ(fit.colour, 0xC81E1Eu);
  EXPECT_DOUBLE_EQ(fit.x1, plan.left);
  EXPECT_DOUBLE_EQ(fit.y1, plan.bottom);
  EXPECT_TRUE(std::abs(fit.x2 - plan.right) < 1e-9 || std::abs(fit.y2 - plan.top) < 1e-9);
  // Empty: the ranges of the controls, no line.
  const PlotPlan empty = PlanPlot(ViewOf({}), 640, 400);
  EXPECT_EQ(empty.x_end, 2500);
  EXPECT_EQ(empty.y_end, 4);
  EXPECT_TRUE(empty.marks.empty());
  EXPECT_NE(empty.lines.back().colour, 0xC81E1Eu);
}

}  // namespace
}  // namespace varek
