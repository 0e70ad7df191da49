// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolkit/panel.h"

#include <QHideEvent>

#include "app/toolkit/image_view.h"
#include "app/toolkit/look.h"

namespace varek {

TPanel::TPanel(QWidget* parent, const QRect& bounds, const QColor& colour, Bevel bevel)
    : QFrame(parent) {
  setGeometry(bounds);
  if (bevel == Bevel::Raised) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
  SetBackgroundColour(this, colour);
}

void TPanel::hideEvent(QHideEvent* event) {
  QFrame::hideEvent(event);
  QWidget* parent = parentWidget();
  if (parent == nullptr || !parent->isVisible()) return;
  for (TPaintBox* box : parent->findChildren<TPaintBox*>(Qt::FindDirectChildrenOnly)) {
    if (box->geometry().intersects(geometry())) box->Uncovered();
  }
}

}  // namespace varek
