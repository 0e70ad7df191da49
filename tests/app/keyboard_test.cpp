// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window from the keyboard: the scroll bars' keys, a visible focus on
// every control, and where the focus goes when a page opens or closes.
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <map>

#include "app/protocol/protocol_panel.h"
#include "form/form1.h"
#include "form/key_help.h"
#include "measurement/focus_search.h"
#include "measurement/typed_value.h"
#include "model/setting_table.h"
#include "window_driver.h"

namespace varek::testing {
namespace {

class KeyboardTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  // A key as the user presses it: to the control with the focus.
  static void Press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
  static QWidget* Focus() { return QApplication::focusWidget(); }
};

TEST_F(KeyboardTest, ScrollBarKeysMoveTheThumbTheWayOfTheirArrow) {
  ShowScene();
  // Right moves a horizontal thumb to the right, Down a vertical one down;
  // both raise the position, as PageDown does by a page.
  const struct {
    Qt::Key key;
    ScrollKey name;
    int current, voltage, left_right;  // ScrollBar7, ScrollBar4, ScrollBar2
  } steps[] = {
      {Qt::Key_Right, ScrollKey::ArrowRight, 1, 1201, -24},
      {Qt::Key_Right, ScrollKey::ArrowRight, 2, 1202, -23},
      {Qt::Key_Left, ScrollKey::ArrowLeft, 1, 1201, -24},
      {Qt::Key_Down, ScrollKey::ArrowDown, 2, 1202, -23},
      {Qt::Key_Up, ScrollKey::ArrowUp, 1, 1201, -24},
      {Qt::Key_PageDown, ScrollKey::PageDown, 11, 1211, -19},
      {Qt::Key_PageUp, ScrollKey::PageUp, 1, 1201, -24},
      {Qt::Key_End, ScrollKey::End, 3000, 2000, 0},
      {Qt::Key_Home, ScrollKey::Home, 0, 50, -180},
  };
  for (TScrollBar* bar : {form->ScrollBar7, form->ScrollBar4, form->ScrollBar2}) {
    bar->setFocus(Qt::TabFocusReason);
    for (const auto& step : steps) {
      const int expected = bar == form->ScrollBar7   ? step.current
                           : bar == form->ScrollBar4 ? step.voltage
                                                     : step.left_right;
      // The desktop's rule in the table of the settings says the same.
      for (const KeyRule& rule : ScrollKeyRules(KeyEdition::Desktop)) {
        if (rule.key != step.name) continue;
        const int step_size =
            rule.measure == KeyMeasure::Page ? bar->pageStep() : bar->singleStep();
        const int moved = rule.measure != KeyMeasure::End
                              ? bar->Position() + rule.direction * step_size
                          : rule.direction > 0 ? bar->maximum()
                                               : bar->minimum();
        EXPECT_EQ(std::clamp(moved, bar->minimum(), bar->maximum()), expected)
            << "rule " << step.key;
      }
      Press(step.key);
      EXPECT_EQ(bar->Position(), expected)
          << bar->objectName().toStdString() << " key " << step.key;
    }
  }
  form->ScrollBar1->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Down);
  EXPECT_EQ(form->ScrollBar1->Position(), 6) << "Down moves the vertical thumb down";
  Settle();
  EXPECT_EQ(form->Edit5->text(), "0");
  EXPECT_EQ(form->Edit1->text(), "50");
  EXPECT_EQ(form->Edit8->text(), "180");
  EXPECT_EQ(FreshPaths(), CurrentPaths()) << "the keys' changes were computed";
}

// Tab through the window: every control looks different while it has the
// focus, scroll bars and readouts too, for which the style draws nothing.
TEST_F(KeyboardTest, FocusIsVisibleOnEveryControl) {
  ShowScene();
  Click(form->AblenkEin);
  Settle();
  std::map<QWidget*, QImage> focused, unfocused;
  QWidget* previous = nullptr;
  for (int i = 0; i < 25; ++i) {
    Press(Qt::Key_Tab);
    if (previous != nullptr && !unfocused.count(previous)) {
      unfocused[previous] = previous->grab().toImage();
    }
    previous = Focus();
    if (!focused.count(previous)) focused[previous] = previous->grab().toImage();
  }
  int compared = 0;
  for (const auto& [control, image] : unfocused) {
    EXPECT_TRUE(image != focused[control]) << control->objectName().toStdString();
    ++compared;
  }
  // Tab visits the selected radio button of a group, not the others.
  EXPECT_EQ(compared, 21) << "scroll bars, readouts, check boxes, radio buttons and buttons";
}

TEST_F(KeyboardTest, PagesTakeTheFocusAndGiveItBack) {
  EXPECT_EQ(Focus(), form->Button14) << "\"Weiter\" has the focus at start";
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focus(), form->Button14) << "nothing under the information page takes it";
  Press(Qt::Key_Space);
  Settle();
  EXPECT_FALSE(form->Panel4->isVisible());
  EXPECT_EQ(Focus(), form->ScrollBar7) << "the first control of the window: the coil current";

  form->Button6->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Space);  // "Daten"
  EXPECT_EQ(Focus(), form->Button7);
  for (int i = 0; i < 30; ++i) {
    Press(Qt::Key_Tab);
    EXPECT_FALSE(form->Panel1->isAncestorOf(Focus())) << "Tab reached a covered control";
  }
  form->Button7->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Space);  // "Schließen"
  EXPECT_FALSE(form->Panel10->isVisible());
  EXPECT_EQ(Focus(), form->Button6);

  form->Button1->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Space);  // "Info"
  EXPECT_EQ(Focus(), form->Button14);
  Press(Qt::Key_Space);  // "Weiter"
  Settle();
  EXPECT_EQ(Focus(), form->Button1);
}

// From a fresh start to a recorded reading at a new voltage, every key
// counted: the pairs of radio buttons are one stop each, values are typed.
TEST_F(KeyboardTest, AReadingFromTheKeyboardAloneTakesAtMostThirtyKeys) {
  const int focus = FindFocusCurrent(900, 1, 200).value();
  int presses = 0;
  const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ++presses;
    QTest::keyClick(Focus(), key, modifiers);
  };
  const auto type = [&](const QString& text) {
    presses += static_cast<int>(text.size());
    QTest::keyClicks(Focus(), text);
  };
  press(Qt::Key_Space);  // "Weiter"
  Settle();
  ASSERT_EQ(Focus(), form->ScrollBar7);
  const std::size_t rows = form->Protocol->Rows().size();
  for (int i = 0; i < 3; ++i) press(Qt::Key_Tab);
  ASSERT_EQ(Focus(), form->Edit1);
  type("900");
  press(Qt::Key_Return);
  press(Qt::Key_Tab);
  ASSERT_EQ(Focus(), form->AblenkAus)
      << "the pair's stop is its selected button, not " << Focus()->objectName().toStdString();
  press(Qt::Key_Up);
  EXPECT_TRUE(form->AblenkEin->isChecked());
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  ASSERT_EQ(Focus(), form->Gleichspannung);
  press(Qt::Key_Down);
  EXPECT_TRUE(form->Wechselspannung->isChecked());
  for (int i = 0; i < 5; ++i) press(Qt::Key_Backtab);
  ASSERT_EQ(Focus(), form->Edit5);
  type(QString::fromStdString(ShownValue(focus - 2, {.per_unit = 1000})));
  press(Qt::Key_Return);
  EXPECT_EQ(form->ScrollBar7->Position(), focus - 2);
  press(Qt::Key_Backtab);
  press(Qt::Key_Right);
  press(Qt::Key_Right);
  Settle();
  press(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_LE(presses, 30);
  ASSERT_EQ(form->Protocol->Rows().size(), rows + 1)
      << form->Protocol->StatusText->toPlainText().toStdString();
  const Measurement& row = form->Protocol->Rows().back().values;
  EXPECT_EQ(row.voltage, 900);
  EXPECT_EQ(row.current, focus / 1000.0);
  EXPECT_EQ(row.deflection, Deflection::Alternating);
}

// At 600 V the start amplitude sends the electrons into the plates: the line
// under the settings says so before recording, and the reading is refused.
TEST_F(KeyboardTest, WithoutAMarkOnTheScreenTheLineSaysWhyAndNoRowIsTaken) {
  ShowScene();
  Click(form->AblenkEin);
  form->ScrollBar7->SetPosition(900);
  form->Edit1->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(Focus(), "600");
  QTest::keyClick(Focus(), Qt::Key_Return);
  Settle();
  EXPECT_NE(form->ReadingHint->toPlainText().indexOf("Ablenkplatten"), -1);
  const std::size_t rows = form->Protocol->Rows().size();
  form->RecordReading();
  EXPECT_EQ(form->Protocol->Rows().size(), rows);
  EXPECT_EQ(form->Protocol->StatusText->toPlainText(), form->ReadingHint->toPlainText());

  // A typed value outside the range changes nothing and says why; Escape
  // shows the value in force again.
  QTest::keyClicks(Focus(), "5000");
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_EQ(form->ScrollBar4->Position(), 600);
  EXPECT_EQ(form->Edit1->text(), "600");
  EXPECT_NE(form->ReadingHint->toPlainText().indexOf("50 bis 2000 V"), -1);
  QTest::keyClicks(Focus(), "7");
  QTest::keyClick(Focus(), Qt::Key_Escape);
  EXPECT_EQ(form->Edit1->text(), "600");
  EXPECT_FALSE(form->Panel4->isVisible()) << "Escape in the field is the field's";
}

TEST_F(KeyboardTest, EnterPressesButtonsTabGoesRoundAndF1ListsTheKeys) {
  ShowScene();
  form->ScrollBar4->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_PageDown);
  QTest::keyClick(Focus(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(form->ScrollBar4->Position(), 1310);
  form->Button6->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Return);  // "Daten"
  EXPECT_TRUE(form->Panel10->isVisible());
  QTest::keyClick(Focus(), Qt::Key_Escape);
  EXPECT_FALSE(form->Panel10->isVisible());

  // Tab goes round: from the protocol's table, the last of the chain, to
  // the coil current.
  form->ShowProtocol(true);
  form->Protocol->Table->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focus(), form->ScrollBar7);

  QTest::keyClick(Focus(), Qt::Key_F1);
  ASSERT_NE(form->KeyHelp(), nullptr);
  EXPECT_TRUE(form->KeyHelp()->isVisible());
  const auto* table = form->KeyHelp()->findChild<QTableWidget*>();
  ASSERT_NE(table, nullptr);
  std::size_t desktop_rows = 0;
  for (const form::KeyHelp& row : form::KeyHelpRows())
    desktop_rows += form::ShownIn(row.edition, form::Edition::Desktop) ? 1 : 0;
  EXPECT_EQ(static_cast<std::size_t>(table->rowCount()), desktop_rows);
  EXPECT_EQ(table->item(0, 0)->text().toStdString(), form::KeyHelpRows().front().keys);
}

// "Ton" plays where there is an audio output and says so where there is none.
TEST_F(KeyboardTest, ToneSwitchPlaysTheMarksOrSaysItCannot) {
  ShowScene();
  Click(form->AblenkEin);
  form->ScrollBar7->SetPosition(FindFocusCurrent(1200, 1, 200).value());
  Settle();
  Click(form->ToneSwitch);
  if (!MarkSound::Available()) {
    EXPECT_FALSE(form->ToneSwitch->isChecked());
    EXPECT_NE(form->ReadingHint->toPlainText().indexOf("nicht verfügbar"), -1);
    return;
  }
  EXPECT_TRUE(form->Sound->Playing().met);
  Click(form->ToneSwitch);
  EXPECT_TRUE(form->Sound->Playing().silent);
}

}  // namespace
}  // namespace varek::testing
