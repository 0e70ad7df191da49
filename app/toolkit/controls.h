// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's simple controls on top of Qt, with the events the program
// relies on:
// - TScrollBar: integer position clamped to its range; OnChange fires once
//   for every real change of the position, whoever made it (the user, a drag
//   of the thumb, the program), and never for a position it already has.
// - TRadioButton: buttons with one parent form one group; OnClick fires only
//   when the button becomes selected, after the others are deselected.
//   Clicking the selected button fires nothing. Tab stops at the selected
//   button of a group only; the arrow keys select the others.
// - TCheckBox: OnClick fires after every toggle, the new state stored.
// - TEdit: a read-only, frameless readout.
// Scroll bars, readouts, check boxes and radio buttons draw a frame while
// they have the keyboard focus: the style draws none for the first two and a
// faint one for the others.
// Events are attached after the controls hold their initial values, so
// building the window fires none.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <functional>

#include "form/control.h"

namespace varek {

using Handler = std::function<void()>;

// One line of text at `top_left`, sized to its text, opaque in the colour of
// its parent.
class TLabel : public QLabel {
  Q_OBJECT
 public:
  TLabel(QWidget* parent, QPoint top_left, const QString& text, const QFont& font,
         const QColor& colour);
};

class TEdit : public QLineEdit {
  Q_OBJECT
 public:
  TEdit(QWidget* parent, const QRect& bounds, const QFont& font, const QColor& text,
        const QColor& background);
  // Makes the readout take typed text: Return or Enter, and leaving it
  // after typing, hand the text to `commit`; Escape hands nothing over and
  // calls `revert` to show the value in force again.
  void SetOnTyped(std::function<void(const QString&)> commit, Handler revert);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Commit();
  std::function<void(const QString&)> commit_;
  Handler revert_;
};

class TButton : public QPushButton {
  Q_OBJECT
 public:
  TButton(QWidget* parent, const QRect& bounds, const QString& caption, const QFont& font);
  void SetOnClick(Handler handler);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class TCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  TCheckBox(QWidget* parent, const QRect& bounds, const QString& caption, const QFont& font);
  void SetOnClick(Handler handler);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class TRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  TRadioButton(QWidget* parent, const QRect& bounds, const QString& caption, const QFont& font,
               bool selected);
  void SetOnClick(Handler handler);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class TScrollBar : public QScrollBar {
  Q_OBJECT
 public:
  TScrollBar(QWidget* parent, Qt::Orientation orientation, const QRect& bounds,
             const form::ScrollRange& range);
  int Position() const { return value(); }
  void SetPosition(int position) { setValue(position); }
  void SetOnChange(Handler handler);

 protected:
  // The keys of Windows' scroll bars, whatever the orientation: Left and Up
  // move a line towards the minimum, Right and Down towards the maximum,
  // PageUp and PageDown a page, Home and End to the ends. (Qt's own mapping
  // lets Left raise a horizontal scroll bar.) Ctrl with a page key moves
  // a coarse step of form::CoarsePageSteps pages.
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace varek
