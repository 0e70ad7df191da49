// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the window is put on the screen. Where the form fits at 1:1 and no
// zoom was chosen, the form itself is the window, exactly as built. Where the
// screen is smaller, or in presentation mode (F11 full screen, Ctrl+Plus,
// Ctrl+Minus, Ctrl+0), the form is shown uniformly scaled in a ScaledHost.
// Zoom and full screen are kept in the user's settings.
#pragma once

#include <QObject>
#include <QSize>
#include <memory>

#include "app/presentation_settings.h"

class QWidget;

namespace varek {

class ScaledHost;

class WindowPresentation : public QObject {
  Q_OBJECT
 public:
  explicit WindowPresentation(QWidget& form);
  ~WindowPresentation() override;

  // Shows the window maximized (or full screen, as last chosen).
  void Show();

  // The factor at which the form is shown now.
  double Scale() const { return scale_; }

  void ToggleFullScreen();
  void ZoomIn();
  void ZoomOut();
  void ResetZoom();

 private:
  // Room for the form: the screen's available area less a window frame, or
  // the whole screen in full screen.
  double FitScale() const;
  void Apply();
  void Save() const;

  QWidget& form_;
  const QSize form_size_;
  PresentationSettings settings_;
  double scale_ = 1.0;
  std::unique_ptr<ScaledHost> host_;
};

}  // namespace varek
