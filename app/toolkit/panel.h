// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TPanel: a coloured rectangle with a raised 1-px bevel (or none) that holds
// other controls. Hiding it hides its children.
#pragma once

#include <QColor>
#include <QFrame>
#include <QRect>

#include "form/control.h"

namespace varek {

class TPanel : public QFrame {
  Q_OBJECT
 public:
  using Bevel = form::Bevel;
  TPanel(QWidget* parent, const QRect& bounds, const QColor& colour, Bevel bevel = Bevel::Raised);

 protected:
  // Qt does not always send a paint event to a drawing area that a hidden
  // panel uncovers (a repaint made at once can swallow it); tell every
  // drawing area under the panel that it shows again.
  void hideEvent(QHideEvent* event) override;
};

}  // namespace varek
