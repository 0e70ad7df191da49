// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scaled_host.h"

#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QMetaObject>
#include <QResizeEvent>

namespace varek {

ScaledHost::ScaledHost(QWidget& form) : form_(form) {
  setWindowTitle(form.windowTitle());
  setWindowIcon(form.windowIcon());
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setBackgroundBrush(form.palette().color(QPalette::Window));
  // Text stays antialiased; pictures are not smoothed (no
  // SmoothPixmapTransform): nearest neighbour, never blurred.
  setRenderHints(QPainter::TextAntialiasing);
  setScene(&scene_);
  proxy_ = scene_.addWidget(&form);
  form.show();  // shows the proxy: no window of its own
  // Keys go to the form's controls, Tab walks them as in the unscaled form.
  scene_.setActivePanel(proxy_);
  proxy_->setFocus(Qt::ActiveWindowFocusReason);
  form.installEventFilter(this);
  SetCentred(false);
}

ScaledHost::~ScaledHost() {
  form_.removeEventFilter(this);
  proxy_->setWidget(nullptr);  // the proxy would delete the form otherwise
}

void ScaledHost::SetScale(double scale, const QSize& form_size) {
  setTransform(QTransform::fromScale(scale, scale));
  proxy_->setGeometry(QRectF(QPointF(0, 0), QSizeF(form_size)));
  scene_.setSceneRect(QRectF(QPointF(0, 0), QSizeF(form_size)));
}

void ScaledHost::SetCentred(bool centred) {
  setAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
}

void ScaledHost::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  if (OnResize) OnResize(event->size());
}

bool ScaledHost::eventFilter(QObject* watched, QEvent* event) {
  // The form closing itself ("ENDE") closes this window, and so ends the
  // program as closing the unscaled form does.
  if (watched == &form_ && event->type() == QEvent::Close && !closing_) {
    closing_ = true;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
  return QGraphicsView::eventFilter(watched, event);
}

void ScaledHost::closeEvent(QCloseEvent* event) {
  // Closed from outside (the window manager): the form ends its work first.
  if (!closing_) {
    closing_ = true;
    form_.close();
  }
  QGraphicsView::closeEvent(event);
}

}  // namespace varek
