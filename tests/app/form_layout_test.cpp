// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window as built: what covers what, captions, fonts, start states, tab
// order, colours, and that resizing moves nothing.
#include <QFontInfo>
#include <QTest>
#include <map>

#include "form/form1.h"
#include "window_driver.h"

namespace varek::testing {
namespace {

bool Inside(const QWidget* widget, const QWidget* ancestor) {
  return widget != nullptr && (widget == ancestor || ancestor->isAncestorOf(widget));
}

// The topmost widget a user reaches at the centre of `control`.
QWidget* UnderCentreOf(TForm1& form, QWidget* control) {
  return form.childAt(control->mapTo(&form, control->rect().center()));
}

using LayoutTest = WindowTest;

// Each row of the description is a control of that name under its parent at
// its place; labels are as large as their text and check boxes and radio
// buttons may be wider than their row to show their caption.
TEST_F(LayoutTest, EveryControlIsBuiltFromItsRow) {
  for (const form::Control& row : form::Form1Controls()) {
    if (!form::ShownIn(row, form::Edition::Desktop)) continue;
    const std::string name(row.name);
    const auto* control = form->findChild<QWidget*>(QString::fromStdString(name));
    ASSERT_NE(control, nullptr) << name;
    const QWidget* parent = control->parentWidget();
    EXPECT_EQ(parent == form.get() ? "Form1" : parent->objectName().toStdString(), row.parent)
        << name;
    const QRect bounds(row.bounds.left, row.bounds.top, row.bounds.width, row.bounds.height);
    EXPECT_EQ(control->pos(), bounds.topLeft()) << name;
    if (row.kind == form::Kind::CheckBox || row.kind == form::Kind::RadioButton) {
      EXPECT_EQ(control->height(), bounds.height()) << name;
      EXPECT_GE(control->width(), bounds.width()) << name;
    } else if (row.kind != form::Kind::Label) {
      EXPECT_EQ(control->size(), bounds.size()) << name;
    }
    EXPECT_EQ(control->isHidden(), !row.visible) << name;
  }
}

TEST_F(LayoutTest, InformationPageCoversEveryWorkingControlAtStart) {
  EXPECT_TRUE(form->Panel4->isVisible());
  EXPECT_FALSE(form->Panel10->isVisible());
  EXPECT_FALSE(form->Panel11->isVisible());
  for (QWidget* control : std::initializer_list<QWidget*>{
           form->PaintBox1, form->ScrollBar1, form->ScrollBar2, form->Edit7, form->CheckBox1,
           form->Button3, form->RadioButton2, form->Button2, form->ScrollBar7, form->AblenkEin}) {
    EXPECT_TRUE(Inside(UnderCentreOf(*form, control), form->Panel4))
        << control->accessibleName().toStdString();
  }
  ShowScene();
  EXPECT_EQ(UnderCentreOf(*form, form->PaintBox1), form->PaintBox1);
  EXPECT_EQ(UnderCentreOf(*form, form->ScrollBar7), form->ScrollBar7);
}

TEST_F(LayoutTest, DataPanelCoversTheSettingsUntilClosed) {
  ShowScene();
  Click(form->Button6);
  for (QWidget* control : std::initializer_list<QWidget*>{
           form->ScrollBar7, form->ScrollBar4, form->Edit1, form->AblenkEin, form->AblenkAus}) {
    EXPECT_TRUE(Inside(UnderCentreOf(*form, control), form->Panel10));
  }
  Click(form->Button7);
  EXPECT_EQ(UnderCentreOf(*form, form->AblenkAus), form->AblenkAus);
}

TEST_F(LayoutTest, CaptionsAreExactAndFitTheirControls) {
  const struct {
    QAbstractButton* button;
    const char* caption;
    int right_limit;  // the next control to the right, or the parent's width
  } captions[] = {
      {form->CheckBox5, "Spule sichtbar", 225},
      {form->CheckBox1, "Schirm durchsichtig", 225},
      {form->RadioButton1, "1", 225},
      {form->RadioButton2, "2", 225},
      {form->AblenkEin, "Ein", 256},
      {form->AblenkAus, "Aus", 256},
      {form->Gleichspannung, "Gleichspannung", 192},
      {form->Wechselspannung, "Wechselspannung", 192},
      {form->Button5, "von der Seite", 225},
      {form->Button3, "von vorne", 225},
      {form->Button1, "Info", 225},
      {form->Button6, "Daten", 225},
      {form->Button2, "ENDE", 225},
      {form->Button7, "Schließen", 729},
      {form->Button14, "Weiter", 864},
  };
  for (const auto& c : captions) {
    const QString caption = QString::fromUtf8(c.caption);
    EXPECT_EQ(c.button->text(), caption);
    const int needed = qobject_cast<QPushButton*>(c.button)
                           ? c.button->fontMetrics().horizontalAdvance(caption) + 8
                           : c.button->sizeHint().width();
    EXPECT_LE(needed, c.button->width()) << c.caption;
    EXPECT_LE(c.button->geometry().right(), c.right_limit) << c.caption;
    EXPECT_GE(c.button->height(), c.button->fontMetrics().height()) << c.caption;
  }
}

TEST_F(LayoutTest, LabelsReadExactlyAndStayClearOfTheirNeighbours) {
  const struct {
    TLabel* label;
    const char* text;
    int right_limit;  // left edge of the next control, or the parent's width
  } labels[] = {
      {form->Label12, "Drehung der Anordnung", 225},
      {form->Label9, "(mit Hilfe der Schieberegler)", 225},
      {form->Label13, "um die z-Achse", 120},
      {form->Label14, "links <-> rechts", 120},
      {form->Label15, "Grad", 225},
      {form->Label4, "Ansicht", 225},
      {form->Label7, "Dicke der Teilchenbahn", 184},
      {form->Label2, "Spulenstrom ( in A )", 272},
      {form->Label10, "Beschleunigungsspannung ( in V )", 272},
      {form->Label1, "Ablenkspannung", 160},
      {form->Label3, "", 864 + 131},
  };
  for (const auto& l : labels) {
    if (*l.text != '\0') {
      EXPECT_EQ(l.label->text(), QString::fromUtf8(l.text));
    }
    EXPECT_LE(l.label->geometry().right(), l.right_limit) << l.label->text().toStdString();
    EXPECT_FALSE(l.label->text().isEmpty());
  }
  EXPECT_LE(form->Label3->height(), 14) << "one line of 11-px text";
}

TEST_F(LayoutTest, FontsHaveTheirPixelHeightsAndWeights) {
  const struct {
    QWidget* widget;
    int pixels;
    bool bold;
  } fonts[] = {
      {form.get(), 11, false},           {form->Label12, 13, true},  {form->Label9, 11, false},
      {form->Edit7, 13, true},           {form->Edit5, 13, true},    {form->CheckBox5, 13, true},
      {form->Gleichspannung, 13, false}, {form->Button14, 13, true}, {form->Label3, 11, false},
  };
  for (const auto& f : fonts) {
    const QFontInfo info(f.widget->font());
    EXPECT_EQ(info.pixelSize(), f.pixels) << f.widget->accessibleName().toStdString();
    EXPECT_EQ(info.bold(), f.bold) << f.widget->accessibleName().toStdString();
    EXPECT_FALSE(info.family().isEmpty());
  }
}

TEST_F(LayoutTest, StartStates) {
  EXPECT_EQ(form->windowTitle(), "Spezifische Ladung des Elektrons - Varek-Methode");
  EXPECT_EQ(form->ScrollBar1->Position(), 5);
  EXPECT_EQ(form->ScrollBar2->Position(), -25);
  EXPECT_EQ(form->ScrollBar3->Position(), 200);
  EXPECT_EQ(form->ScrollBar4->Position(), 1200);
  EXPECT_EQ(form->ScrollBar7->Position(), 0);
  EXPECT_TRUE(form->AblenkAus->isChecked() && !form->AblenkEin->isChecked());
  EXPECT_TRUE(form->Gleichspannung->isChecked() && !form->Wechselspannung->isChecked());
  EXPECT_TRUE(form->RadioButton1->isChecked() && !form->RadioButton2->isChecked());
  EXPECT_FALSE(form->CheckBox5->isChecked());
  EXPECT_FALSE(form->CheckBox1->isChecked());
  for (TEdit* edit : {form->Edit1, form->Edit5, form->Edit7, form->Edit8}) {
    EXPECT_FALSE(edit->isReadOnly()) << "takes a typed value";
    EXPECT_FALSE(edit->hasFrame());
  }
  EXPECT_EQ(form->ScrollBar1->orientation(), Qt::Vertical);
  EXPECT_EQ(form->ScrollBar3->pageStep(), 1);
  EXPECT_EQ(form->ScrollBar7->pageStep(), 10);
}

TEST_F(LayoutTest, TabOrderFollowsThePanels) {
  ShowScene();
  // The settings first, then the view, each from top to bottom.
  const std::vector<QWidget*> expected = {
      form->ScrollBar7, form->Edit5,      form->ScrollBar4, form->Edit1,        form->AblenkAus,
      form->ScrollBar1, form->ScrollBar2, form->Edit7,      form->Edit8,        form->CheckBox5,
      form->CheckBox1,  form->Button5,    form->Button3,    form->RadioButton1, form->Button1,
      form->Button6,    form->Button2,
  };
  // Hidden controls and the unselected radio button of a group take no focus.
  std::vector<QWidget*> order;
  QWidget* w = form->ScrollBar7;
  do {
    if (w->isVisible() && w->focusPolicy() & Qt::TabFocus &&
        std::find(expected.begin(), expected.end(), w) != expected.end()) {
      order.push_back(w);
    }
    w = w->nextInFocusChain();
  } while (w != form->ScrollBar7 && order.size() < 40);
  EXPECT_EQ(order, expected);
}

TEST_F(LayoutTest, ResizingTheWindowMovesNothing) {
  ShowScene();
  std::map<QWidget*, QRect> before;
  for (QWidget* child : form->findChildren<QWidget*>()) before[child] = child->geometry();
  for (QSize size : {QSize(600, 400), QSize(1600, 1100)}) {
    form->resize(size);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->size() == size; }, 5000));
    for (const auto& [child, rect] : before) EXPECT_EQ(child->geometry(), rect);
  }
}

TEST_F(LayoutTest, ColoursOfWindowPanelsAndReadouts) {
  ShowScene();
  const QImage image = form->grab().toImage();
  EXPECT_EQ(image.pixel(1020, 300), qRgb(38, 74, 74)) << "window right of the panels";
  EXPECT_EQ(image.pixel(8 + 3, 472 + 3), qRgb(91, 91, 91)) << "Panel9 inside its bevel";
  EXPECT_EQ(image.pixel(8 + 8 + 400, 472 + 10 + 90), qRgb(65, 65, 65)) << "Panel1";
  const QPoint edit = form->Edit1->mapTo(form.get(), QPoint(form->Edit1->width() - 2, 2));
  EXPECT_EQ(image.pixel(edit), qRgb(255, 255, 255)) << "readout background";
  const QPoint label = form->Label10->mapTo(form.get(), QPoint(0, 0));
  EXPECT_EQ(image.pixel(label), qRgb(65, 65, 65)) << "labels are opaque in the panel colour";
}

}  // namespace
}  // namespace varek::testing
