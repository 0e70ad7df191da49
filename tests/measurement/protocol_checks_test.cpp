// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the protocol takes and what it shows: the checks of a reading, the
// outlier marks, the summarised warnings, the result line and the plot plan.
#include <gtest/gtest.h>

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
  EXPECT_EQ(one.rows[0].cells[4], "200 ~");

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
  EXPECT_TRUE(view.result.starts_with("e/m = (1,7"));
}

TEST(ProtocolChecksTest, PlotPlanPlacesEverythingInTheFrame) {
  const ProtocolView view = ViewOf({{"a", {500, 0.794, 1, 100}},
                                    {"b", {1200, 1.230, 1, 200}},
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
  // The fitted line starts at the origin and ends on an edge of the area.
  const PlotLine& fit = plan.lines.back();
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
