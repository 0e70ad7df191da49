// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/controls.h"

#include <QButtonGroup>

#include "app/toolkit/look.h"

namespace varek {

namespace {
// Position, font and accessible name of a captioned button of any kind.
void Place(QAbstractButton* button, const QRect& bounds, const QFont& font) {
  button->setGeometry(bounds);
  button->setFont(font);
  button->setAccessibleName(button->text());
}

// The window's sizes were made for a narrower dialog font; a check box or
// radio button whose caption would be clipped in the substitute font grows
// to the right, where each has free room.
void WidenToCaption(QAbstractButton* button) {
  const int needed = button->sizeHint().width();
  if (needed > button->width()) button->resize(needed, button->height());
}
// The one exclusive group of the radio buttons of `parent`. Qt's own
// auto-exclusive grouping also takes in the radio buttons of panels nested in
// the parent, and then lets a click on the selected button deselect it.
QButtonGroup* RadioGroupOf(QWidget* parent) {
  if (auto* group = parent->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly)) {
    return group;
  }
  auto* group = new QButtonGroup(parent);
  group->setExclusive(true);
  return group;
}
}  // namespace

TLabel::TLabel(QWidget* parent, QPoint top_left, const QString& text, const QFont& font,
               const QColor& colour)
    : QLabel(text, parent) {
  setFont(font);
  SetTextColour(this, colour);
  setAutoFillBackground(true);
  move(top_left);
  adjustSize();
}

TEdit::TEdit(QWidget* parent, const QRect& bounds, const QFont& font, const QColor& text,
             const QColor& background)
    : QLineEdit(parent) {
  setGeometry(bounds);
  setFont(font);
  setReadOnly(true);
  setFrame(false);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Base, background);
  palette.setColor(QPalette::Text, text);
  setPalette(palette);
}

TButton::TButton(QWidget* parent, const QRect& bounds, const QString& caption, const QFont& font)
    : QPushButton(caption, parent) {
  Place(this, bounds, font);
}

void TButton::SetOnClick(Handler handler) {
  connect(this, &QPushButton::clicked, this, [handler = std::move(handler)] { handler(); });
}

TCheckBox::TCheckBox(QWidget* parent, const QRect& bounds, const QString& caption, const QFont& font)
    : QCheckBox(caption, parent) {
  Place(this, bounds, font);
  WidenToCaption(this);
}

void TCheckBox::SetOnClick(Handler handler) {
  // toggled comes after the new state is stored, for clicks, keys and
  // program changes alike.
  connect(this, &QCheckBox::toggled, this, [handler = std::move(handler)](bool) { handler(); });
}

TRadioButton::TRadioButton(QWidget* parent, const QRect& bounds, const QString& caption,
                           const QFont& font, bool selected)
    : QRadioButton(caption, parent) {
  Place(this, bounds, font);
  WidenToCaption(this);
  RadioGroupOf(parent)->addButton(this);
  setChecked(selected);
}

void TRadioButton::SetOnClick(Handler handler) {
  // A click on the selected button emits clicked() but no toggled(); a newly
  // selected button emits toggled(true) after its siblings' toggled(false).
  connect(this, &QRadioButton::toggled, this, [handler = std::move(handler)](bool selected) {
    if (selected) handler();
  });
}

TScrollBar::TScrollBar(QWidget* parent, Qt::Orientation orientation, const QRect& bounds,
                       const form::ScrollRange& range)
    : QScrollBar(orientation, parent) {
  setGeometry(bounds);
  setRange(range.minimum, range.maximum);
  setSingleStep(range.line_step);
  setPageStep(range.page_step);
  setValue(range.position);
  setTracking(true);  // the position follows the dragged thumb
  setInvertedAppearance(false);
  setFocusPolicy(Qt::StrongFocus);
}

void TScrollBar::SetOnChange(Handler handler) {
  connect(this, &QScrollBar::valueChanged, this, [handler = std::move(handler)](int) { handler(); });
}

}  // namespace varek
