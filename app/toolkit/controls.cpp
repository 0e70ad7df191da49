// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/controls.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <optional>

#include "app/toolkit/look.h"
#include "form/key_help.h"

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

constexpr int kThumbTintAlpha = 160;

// Whether a control shows that it has the focus: as the style decides, once
// the keyboard has moved the focus in its window (or the window says so).
bool ShowsFocus(const QWidget* control) {
  return control->hasFocus() && control->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

// The focus frame: a 1-pixel line along the control's edge, drawn over what
// the style drew. Light controls (scroll bars, readouts) take the highlight
// colour, check boxes and radio buttons on their dark panel their text colour.
void FrameFocus(QWidget* control, QPalette::ColorRole role) {
  if (!ShowsFocus(control)) return;
  QPainter painter(control);
  painter.setPen(control->palette().color(role));
  painter.drawRect(control->rect().adjusted(0, 0, -1, -1));
}

std::optional<QAbstractSlider::SliderAction> WindowsKeyAction(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up: return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_Right:
    case Qt::Key_Down: return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_PageUp: return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_PageDown: return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_Home: return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End: return QAbstractSlider::SliderToMaximum;
    default: return std::nullopt;
  }
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

void TEdit::SetOnTyped(std::function<void(const QString&)> commit, Handler revert) {
  commit_ = std::move(commit);
  revert_ = std::move(revert);
  setReadOnly(false);
}

bool TEdit::event(QEvent* event) {
  // Escape in a field being typed in is the field's, not the window's.
  if (event->type() == QEvent::ShortcutOverride && commit_ &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && isModified()) {
    event->accept();
    return true;
  }
  return QLineEdit::event(event);
}

void TEdit::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (commit_ && plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    Commit();
    event->accept();
    return;
  }
  if (commit_ && plain && event->key() == Qt::Key_Escape && isModified()) {
    setModified(false);
    revert_();
    selectAll();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TEdit::focusOutEvent(QFocusEvent* event) {
  if (commit_ && isModified()) Commit();
  QLineEdit::focusOutEvent(event);
}

void TEdit::Commit() {
  setModified(false);
  commit_(text());
  selectAll();
}

void TEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  FrameFocus(this, QPalette::Highlight);
}

TButton::TButton(QWidget* parent, const QRect& bounds, const QString& caption, const QFont& font)
    : QPushButton(caption, parent) {
  Place(this, bounds, font);
}

void TButton::keyPressEvent(QKeyEvent* event) {
  // Qt presses a button with Return only in dialogs; here Return and Enter
  // press it as the space bar does.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void TButton::SetOnClick(Handler handler) {
  connect(this, &QPushButton::clicked, this, [handler = std::move(handler)] { handler(); });
}

TCheckBox::TCheckBox(QWidget* parent, const QRect& bounds, const QString& caption,
                     const QFont& font)
    : QCheckBox(caption, parent) {
  Place(this, bounds, font);
  WidenToCaption(this);
}

void TCheckBox::SetOnClick(Handler handler) {
  // toggled comes after the new state is stored, for clicks, keys and
  // program changes alike.
  connect(this, &QCheckBox::toggled, this, [handler = std::move(handler)](bool) { handler(); });
}

void TCheckBox::paintEvent(QPaintEvent* event) {
  QCheckBox::paintEvent(event);
  FrameFocus(this, QPalette::WindowText);
}

TRadioButton::TRadioButton(QWidget* parent, const QRect& bounds, const QString& caption,
                           const QFont& font, bool selected)
    : QRadioButton(caption, parent) {
  Place(this, bounds, font);
  WidenToCaption(this);
  RadioGroupOf(parent)->addButton(this);
  // One tab stop a group, as platform radio groups have: its selected
  // button; the arrow keys move within the group.
  connect(this, &QRadioButton::toggled, this,
          [this](bool checked) { setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus); });
  setChecked(selected);
  setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
}

void TRadioButton::SetOnClick(Handler handler) {
  // A click on the selected button emits clicked() but no toggled(); a newly
  // selected button emits toggled(true) after its siblings' toggled(false).
  connect(this, &QRadioButton::toggled, this, [handler = std::move(handler)](bool selected) {
    if (selected) handler();
  });
}

void TRadioButton::paintEvent(QPaintEvent* event) {
  QRadioButton::paintEvent(event);
  FrameFocus(this, QPalette::WindowText);
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
  connect(this, &QScrollBar::valueChanged, this,
          [handler = std::move(handler)](int) { handler(); });
}

void TScrollBar::keyPressEvent(QKeyEvent* event) {
  const auto action = WindowsKeyAction(event->key());
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier && action &&
      (*action == SliderPageStepAdd || *action == SliderPageStepSub)) {
    const int coarse = form::CoarsePageSteps * pageStep();
    setValue(value() + (*action == SliderPageStepAdd ? coarse : -coarse));
    event->accept();
    return;
  }
  if (!action || modifiers != Qt::NoModifier) {
    QScrollBar::keyPressEvent(event);
    return;
  }
  triggerAction(*action);
  event->accept();
}

void TScrollBar::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  FrameFocus(this, QPalette::Highlight);
  if (!ShowsFocus(this)) return;
  // A thin bar's frame alone is easily missed: the thumb is tinted as well.
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect thumb =
      style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
  QColor tint = palette().color(QPalette::Highlight);
  tint.setAlpha(kThumbTintAlpha);
  QPainter(this).fillRect(thumb.adjusted(1, 1, -1, -1), tint);
}

}  // namespace varek
