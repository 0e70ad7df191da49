// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A top-level window that shows the form scaled: the form is embedded as a
// graphics-view proxy, so mouse and keyboard reach its controls at their
// scaled places. Pictures are drawn without smoothing: nearest neighbour.
#pragma once

#include <QGraphicsScene>
#include <QGraphicsView>
#include <functional>

class QGraphicsProxyWidget;

namespace varek {

class ScaledHost : public QGraphicsView {
  Q_OBJECT
 public:
  // Takes the form (a top-level widget, shown or not) into this window. The
  // form stays the caller's: it is handed back when the host goes.
  explicit ScaledHost(QWidget& form);
  ~ScaledHost() override;

  // form_size is the part of the form that is shown, from its top-left corner.
  void SetScale(double scale, const QSize& form_size);
  // Full screen shows the form centred; a window shows it at the top left,
  // as the unscaled form is.
  void SetCentred(bool centred);

  // Called with the new client size whenever the window is resized (by the
  // window manager, maximized, full screen).
  std::function<void(const QSize&)> OnResize;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget& form_;
  QGraphicsScene scene_;
  QGraphicsProxyWidget* proxy_ = nullptr;
  bool closing_ = false;
};

}  // namespace varek
