// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_parent.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QWidget>

namespace varek {

QWidget* DialogParent(QWidget* control) {
  QWidget* window = control->window();
  while (const QGraphicsProxyWidget* proxy = window->graphicsProxyWidget()) {
    const QGraphicsScene* scene = proxy->scene();
    if (scene == nullptr || scene->views().isEmpty()) break;
    window = scene->views().first()->window();
  }
  return window;
}

}  // namespace varek
