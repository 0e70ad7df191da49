// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers driven through the window's controls.
#include <QLocale>
#include <QTest>
#include <QTimer>

#include "window_driver.h"

namespace varek::testing {
namespace {

using HandlerTest = WindowTest;

int Count(const std::vector<Shown>& shown, const std::string& what) {
  return static_cast<int>(
      std::count_if(shown.begin(), shown.end(), [&](const Shown& s) { return s.what == what; }));
}

TEST_F(HandlerTest, ReadoutsAfterStartUp) {
  EXPECT_EQ(form->Edit5->text(), "0");
  EXPECT_EQ(form->Edit1->text(), "1200");
  EXPECT_EQ(form->Edit7->text(), "5");
  EXPECT_EQ(form->Edit8->text(), "25");
  EXPECT_EQ(FullPasses(), 1) << "the first activation computed once";
}

TEST_F(HandlerTest, ViewPresets) {
  ShowScene();
  shown.clear();
  Click(form->Button3);  // "von vorne"
  EXPECT_EQ(form->Edit7->text(), "0");
  EXPECT_EQ(form->Edit8->text(), "90");
  EXPECT_EQ(Count(shown, "scene"), 2) << "each scroll bar that moved redraws once";
  const int passes = FullPasses();
  Click(form->Button3);
  EXPECT_EQ(Count(shown, "scene"), 2) << "nothing moved, nothing drawn";
  Click(form->Button5);  // "von der Seite": only ScrollBar2 moves
  EXPECT_EQ(form->Edit7->text(), "0");
  EXPECT_EQ(form->Edit8->text(), "0");
  EXPECT_EQ(Count(shown, "scene"), 3);
  EXPECT_EQ(FullPasses(), passes) << "view changes compute nothing";
}

TEST_F(HandlerTest, ScrollBarReadouts) {
  const struct {
    TScrollBar* TForm1::*bar;
    TEdit* TForm1::*edit;
    int position;
    const char* text;
  } cases[] = {
      {&TForm1::ScrollBar7, &TForm1::Edit5, 1, "0,001"},
      {&TForm1::ScrollBar7, &TForm1::Edit5, 1500, "1,5"},
      {&TForm1::ScrollBar7, &TForm1::Edit5, 3000, "3"},
      {&TForm1::ScrollBar2, &TForm1::Edit8, -180, "180"},
      {&TForm1::ScrollBar2, &TForm1::Edit8, 0, "0"},
      {&TForm1::ScrollBar1, &TForm1::Edit7, -180, "-180"},
      {&TForm1::ScrollBar4, &TForm1::Edit1, 50, "50"},
      {&TForm1::ScrollBar4, &TForm1::Edit1, 2000, "2000"},
  };
  for (const auto& c : cases) {
    ((*form).*c.bar)->SetPosition(c.position);
    EXPECT_EQ(((*form).*c.edit)->text(), c.text);
  }
  EXPECT_EQ(scene().BeamSpeed, BeamSpeedFor(2000)) << "the chain computed for the new voltage";
}

// The program is German: its numbers take the decimal comma whatever the
// locale (the tests run in the C locale).
TEST_F(HandlerTest, CoilCurrentReadsWithACommaInAnyLocale) {
  for (const QLocale::Language language : {QLocale::C, QLocale::English, QLocale::German}) {
    QLocale::setDefault(QLocale(language));
    form->ScrollBar7->SetPosition(1);
    EXPECT_EQ(form->Edit5->text(), "0,001") << language;
    form->ScrollBar7->SetPosition(0);
  }
  QLocale::setDefault(QLocale::c());
}

TEST_F(HandlerTest, DeflectionOffKeepsKindAndAmplitude) {
  ShowScene();
  Click(form->AblenkEin);
  Click(form->Wechselspannung);
  form->ScrollBar3->SetPosition(120);
  shown.clear();
  Click(form->AblenkAus);
  EXPECT_FALSE(form->Panel11->isVisible());
  EXPECT_TRUE(form->Wechselspannung->isChecked());
  EXPECT_EQ(form->ScrollBar3->Position(), 120);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].what, "scene");
  EXPECT_EQ(scene().TrajectoryTotal, 2);
  EXPECT_EQ(FreshPaths(), CurrentPaths());
  Click(form->AblenkEin);
  EXPECT_TRUE(form->Panel11->isVisible());
  EXPECT_TRUE(form->Wechselspannung->isChecked());
}

TEST_F(HandlerTest, InformationPageChangesNothingElse) {
  ShowScene();
  Click(form->AblenkEin);  // the plot shows
  Settle();
  const StoredPaths paths = CurrentPaths();
  shown.clear();
  const int passes = FullPasses();
  Click(form->Button1);  // "Info"
  Settle();
  EXPECT_TRUE(form->Panel4->isVisible());
  EXPECT_TRUE(form->Button14->isVisible());
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(FullPasses(), passes);
  EXPECT_EQ(CurrentPaths(), paths);
  Click(form->Button14);  // "Weiter": the scene at once, the signal, then the uncovered paint
  EXPECT_FALSE(form->Panel4->isVisible());
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[0].what, "scene");
  EXPECT_EQ(shown[0].full_passes, passes);
  EXPECT_EQ(shown[1].what, "signal");
  Settle();
  EXPECT_EQ(FullPasses(), passes + 1) << "uncovering repaints and recomputes";
}

TEST_F(HandlerTest, WeiterAloneLeadsToTheComputedPictureWithoutAnyActivation) {
  // A window that is never activated (no window manager): the first
  // computation comes from uncovering the scene.
  form.reset();
  form = std::make_unique<TForm1>();
  EXPECT_EQ(scene().TrajectoryTotal, 0);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QTest::mouseClick(form->Button14, Qt::LeftButton);
  Settle();
  EXPECT_GE(FullPasses(), 1);
  EXPECT_EQ(scene().TrajectoryTotal, 1);
  EXPECT_EQ(FreshPaths(), CurrentPaths());
}

TEST_F(HandlerTest, DataPageAndSignalRedraw) {
  ShowScene();
  shown.clear();
  Click(form->Button6);  // "Daten"
  EXPECT_TRUE(form->Panel10->isVisible());
  Click(form->Button7);  // "Schließen" with the deflection off
  EXPECT_FALSE(form->Panel10->isVisible());
  EXPECT_TRUE(shown.empty());
  Click(form->AblenkEin);
  Click(form->Button6);
  shown.clear();
  Click(form->Button7);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].what, "signal");
}

TEST_F(HandlerTest, ClickingTheSelectedRadioButtonFiresNothing) {
  ShowScene();
  shown.clear();
  const int passes = FullPasses();
  for (QAbstractButton* selected :
       std::initializer_list<QAbstractButton*>{form->AblenkAus, form->RadioButton1}) {
    Click(selected);
    EXPECT_TRUE(selected->isChecked()) << selected->accessibleName().toStdString();
  }
  Settle();
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(FullPasses(), passes);
}

TEST_F(HandlerTest, ViewOptionsSetTheSceneAndRedrawOnly) {
  ShowScene();
  shown.clear();
  const int passes = FullPasses();
  Click(form->RadioButton2);
  EXPECT_EQ(form->CurrentSettings().path_width, 2);
  Click(form->RadioButton1);
  EXPECT_EQ(form->CurrentSettings().path_width, 1);
  Click(form->CheckBox5);
  EXPECT_TRUE(form->CurrentSettings().coil_visible);
  Click(form->CheckBox5);
  EXPECT_FALSE(form->CurrentSettings().coil_visible);
  Click(form->CheckBox1);
  EXPECT_EQ(Count(shown, "scene"), 5);
  EXPECT_EQ(FullPasses(), passes);
}

// Deflection on, amplitude and kind: each draws the signal, then recomputes.
TEST_F(HandlerTest, SignalFollowsDeflectionAmplitudeAndKindBeforeRecomputing) {
  ShowScene();
  shown.clear();
  const int passes = FullPasses();
  Click(form->AblenkEin);
  EXPECT_TRUE(form->Panel11->isVisible());
  form->ScrollBar3->SetPosition(300);
  Click(form->Wechselspannung);
  EXPECT_EQ(scene().TrajectoryTotal, 2);
  Click(form->Gleichspannung);
  EXPECT_EQ(scene().TrajectoryTotal, 1);
  ASSERT_EQ(shown.size(), 8u);
  for (int i = 0; i < 8; i += 2) {
    EXPECT_EQ(shown[i].what, "signal");
    EXPECT_EQ(shown[i].full_passes, passes + i / 2);
    EXPECT_EQ(shown[i + 1].what, "scene");
    EXPECT_EQ(shown[i + 1].full_passes, passes + i / 2 + 1);
  }
  EXPECT_EQ(FreshPaths(), CurrentPaths());
  EXPECT_EQ(form->PaintBox2->Image().pixel(10, 25 - 20), qRgb(255, 0, 0))
      << "amplitude 300 puts the flat line 20 pixels above the zero row";
}

TEST_F(HandlerTest, EndeClosesTheWindowAndEndsTheEventLoop) {
  ShowScene();
  const StoredPaths paths = CurrentPaths();
  bool clicked = false;
  QTimer::singleShot(0, [&] {
    clicked = true;
    QTest::mouseClick(form->Button2, Qt::LeftButton);
  });
  EXPECT_EQ(RunEventLoop(), 0) << "the loop ended because the window closed";
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(CurrentPaths(), paths) << "with no computation running, ENDE stops nothing";
  EXPECT_TRUE(form->chain().Closing());
}

}  // namespace
}  // namespace varek::testing
