// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the window is put on the screen. By default the form fills the window,
// uniformly scaled in a ScaledHost, up as well as down; only where it fills
// it at exactly 1:1 the form itself is the window, as built. Ctrl+Plus and
// Ctrl+Minus zoom in steps from there, Ctrl+0 fills the window again, F11
// switches full screen.
// Zoom and full screen are kept in the user's settings.
#pragma once

#include <QObject>
#include <QSize>
#include <functional>
#include <memory>

#include "app/presentation_settings.h"

class QWidget;

namespace varek {

class ScaledHost;

class WindowPresentation : public QObject {
  Q_OBJECT
 public:
  // `arrange`: arranges the form for a room of the given size and returns
  // the part of it to fit there, from its top-left corner (the whole form
  // when not given); Refit after that part changed.
  explicit WindowPresentation(QWidget& form, std::function<QSize(const QSize& room)> arrange = {});
  ~WindowPresentation() override;

  // Shows the window maximized (or full screen, as last chosen).
  void Show();

  // The factor at which the form is shown now.

  // The shown part of the form changed size: fit it again; a form shown
  // unscaled that no longer fits is from now on shown scaled.
  void Refit();

  void ToggleFullScreen();
  void ZoomIn();
  void ZoomOut();
  void ResetZoom();

 private:
  // Room for the form: the screen's available area less a window frame, or
  // the whole screen in full screen.
  double FitScale();
  // Arranges the form for `room`: the factor at which its shown part fits.
  double FitTo(const QSize& room);
  void Apply();
  void Save() const;

  QWidget& form_;
  std::function<QSize(const QSize& room)> arrange_;
  QSize form_size_;
  PresentationSettings settings_;
  double scale_ = 1.0;
  std::unique_ptr<ScaledHost> host_;
};

}  // namespace varek
