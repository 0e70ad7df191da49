// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The control layer where Qt by itself behaves otherwise than the window needs.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <vector>

#include "app/scaled_host.h"
#include "app/toolkit/controls.h"
#include "app/toolkit/image_view.h"
#include "app/toolkit/look.h"
#include "app/toolkit/panel.h"

namespace varek {
namespace {

void ClickIndicator(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

struct Shown : QWidget {
  Shown() {
    resize(400, 300);
    show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
  }
};

TEST(RadioGroup, ClickFiresOnlyWhenSelectedAndAfterTheSiblingIsCleared) {
  Shown window;
  auto* group = new QWidget(&window);
  group->setGeometry(0, 0, 200, 100);
  auto* other_group = new QWidget(&window);
  other_group->setGeometry(200, 0, 200, 100);
  group->show();
  other_group->show();
  const QFont font = PixelFont(13, true);
  auto* one = new TRadioButton(group, {10, 10, 60, 17}, "1", font, true);
  auto* two = new TRadioButton(group, {10, 40, 60, 17}, "2", font, false);
  auto* alone = new TRadioButton(other_group, {10, 10, 60, 17}, "x", font, true);
  std::vector<std::string> log;
  one->SetOnClick([&] { log.push_back(two->isChecked() ? "1 while 2 still set" : "1"); });
  two->SetOnClick([&] { log.push_back(one->isChecked() ? "2 while 1 still set" : "2"); });

  ClickIndicator(one);  // already selected
  EXPECT_TRUE(log.empty());
  ClickIndicator(two);
  ClickIndicator(two);  // already selected
  ClickIndicator(one);
  two->setChecked(true);  // the program selects it
  EXPECT_EQ(log, (std::vector<std::string>{"2", "1", "2"}));
  EXPECT_TRUE(alone->isChecked()) << "a button of another parent is another group";
}

TEST(RadioGroup, GroupsOfNestedPanelsStayApartAndTheSelectedButtonStaysSelected) {
  Shown window;
  auto* outer = new QWidget(&window);
  outer->setGeometry(0, 0, 400, 300);
  outer->show();
  auto* inner = new QWidget(outer);
  inner->setGeometry(100, 0, 200, 100);
  inner->show();
  const QFont font = PixelFont(13, true);
  auto* on = new TRadioButton(outer, {10, 10, 60, 17}, "Ein", font, false);
  auto* off = new TRadioButton(outer, {10, 40, 60, 17}, "Aus", font, true);
  auto* steady = new TRadioButton(inner, {10, 10, 150, 17}, "Gleichspannung", font, true);
  int clicks = 0;
  off->SetOnClick([&] { ++clicks; });
  ClickIndicator(off);
  EXPECT_TRUE(off->isChecked()) << "a click on the selected button leaves it selected";
  EXPECT_EQ(clicks, 0);
  ClickIndicator(on);
  EXPECT_FALSE(off->isChecked());
  EXPECT_TRUE(steady->isChecked()) << "the nested panel's group is another group";
}

TEST(CheckBox, ClickFiresAfterEveryToggleWithTheNewState) {
  Shown window;
  auto* box = new TCheckBox(&window, {10, 10, 150, 17}, "Spule sichtbar", PixelFont(13, true));
  box->show();
  std::vector<bool> states;
  box->SetOnClick([&] { states.push_back(box->isChecked()); });
  ClickIndicator(box);
  ClickIndicator(box);
  ClickIndicator(box);
  EXPECT_EQ(states, (std::vector<bool>{true, false, true}));
}

TEST(ScrollBar, OneChangeEventPerRealChangeOfPosition) {
  Shown window;
  auto* bar = new TScrollBar(&window, Qt::Horizontal, {0, 0, 300, 12}, {-180, 180, 5, 1, 5});
  bar->show();
  std::vector<int> seen;
  bar->SetOnChange([&] { seen.push_back(bar->Position()); });
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_TRUE(seen.empty()) << "building fires nothing";

  bar->SetPosition(5);     // unchanged
  bar->SetPosition(400);   // clamped to 180
  bar->SetPosition(180);   // unchanged after clamping
  bar->SetPosition(-500);  // clamped to -180
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(seen, (std::vector<int>{180, -180, -179, -174, 180}));
}

TEST(ScrollBar, KeysAndArrowsMoveByLineAndPageStepWithTheMinimumAtTheTop) {
  Shown window;
  auto* bar = new TScrollBar(&window, Qt::Vertical, {0, 0, 12, 441}, {-180, 180, 5, 1, 5});
  bar->show();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(6, 3));  // upper arrow
  EXPECT_EQ(bar->Position(), 4);
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(6, 437));  // lower arrow
  EXPECT_EQ(bar->Position(), 5);
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_PageDown);
  EXPECT_EQ(bar->Position(), 10);
  QTest::keyClick(bar, Qt::Key_Home);
  EXPECT_EQ(bar->Position(), -180);
  QTest::keyClick(bar, Qt::Key_End);
  EXPECT_EQ(bar->Position(), 180);
}

// Waits, as long as it takes, until `done` holds; returns whether it does.
template <typename Done>
bool Eventually(Done done) {
  return QTest::qWaitFor(done, 5000);
}

TEST(PaintBox, OwnPresentationsDoNotCallThePaintHandler) {
  Shown window;
  auto* box = new TPaintBox(&window, {0, 0, 50, 40});
  box->show();
  int calls = 0;
  box->OnPaint = [&] { ++calls; };
  QCoreApplication::processEvents();
  calls = 0;
  Bitmap picture(50, 40, Rgb(10, 20, 30));
  box->Present(picture);
  box->Present(picture);
  QCoreApplication::processEvents();
  EXPECT_FALSE(box->PaintHandlerPending());
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(box->PresentCount(), 2);
  EXPECT_EQ(box->grab().toImage().pixel(25, 20), qRgb(10, 20, 30));
}

// Shown scaled, a presentation only marks the area: the window paints it
// later, and that paint is still the program's own. Taking it for an
// uncovering recomputed the scene without end.
TEST(PaintBox, OwnPresentationsInAScaledWindowDoNotCallThePaintHandler) {
  QWidget form;
  form.resize(100, 80);
  auto* box = new TPaintBox(&form, {0, 0, 50, 40});
  int paints = 0;
  struct PaintCounter : QObject {
    int& count;
    explicit PaintCounter(int& c) : count(c) {}
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++count;
      return false;
    }
  } counter(paints);
  box->installEventFilter(&counter);
  int calls = 0;
  box->OnPaint = [&] { ++calls; };
  ScaledHost host(form);
  host.SetScale(0.5, form.size());
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  ASSERT_TRUE(Eventually([&] { return paints > 0 && calls == 1; }))
      << "the first exposure: " << paints << " paints, " << calls << " calls";
  for (int i = 0; i < 3; ++i) {
    const int before = paints;
    box->Present(Bitmap(50, 40, Rgb(10, 20, 30)));
    ASSERT_TRUE(Eventually([&] { return paints > before; }));
    QTest::qWait(50);
  }
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(box->PaintHandlerPending());
}

TEST(PaintBox, ForeignPaintsCallTheHandlerOnceFromTheEventLoop) {
  Shown window;
  auto* box = new TPaintBox(&window, {0, 0, 50, 40});
  box->show();
  QCoreApplication::processEvents();
  int calls = 0;
  bool inside_paint = false;
  box->OnPaint = [&] {
    ++calls;
    inside_paint = inside_paint || box->paintingActive();
  };
  box->repaint();
  box->repaint();
  box->repaint();
  EXPECT_EQ(calls, 0) << "never inside the paint event";
  ASSERT_TRUE(Eventually([&] { return calls == 1; }));
  EXPECT_FALSE(box->PaintHandlerPending()) << "paints coalesce into one pending call";
  box->update();
  ASSERT_TRUE(Eventually([&] { return calls == 2; }));
  EXPECT_FALSE(inside_paint);
}

TEST(PaintBox, HidingAPanelAboveItCallsTheHandler) {
  Shown window;
  auto* box = new TPaintBox(&window, {0, 0, 100, 100});
  auto* cover = new TPanel(&window, {0, 0, 200, 200}, QColor(65, 65, 65));
  auto* aside = new TPanel(&window, {250, 0, 50, 50}, QColor(65, 65, 65));
  box->show();
  cover->show();
  aside->show();
  QCoreApplication::processEvents();
  int calls = 0;
  box->OnPaint = [&] { ++calls; };
  aside->hide();
  QCoreApplication::processEvents();
  EXPECT_FALSE(box->PaintHandlerPending()) << "a panel beside the box uncovers nothing";
  EXPECT_EQ(calls, 0);
  cover->hide();
  box->Present(Bitmap(100, 100));  // a presentation right after must not swallow it
  EXPECT_TRUE(Eventually([&] { return calls == 1; }));
}

}  // namespace
}  // namespace varek
