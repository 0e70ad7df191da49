// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_presentation.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QWidget>

#include "app/scaled_host.h"
#include "app/screen_fit.h"

namespace varek {

namespace {

std::unique_ptr<QSettings> OpenSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("varek-em"), QStringLiteral("varek-em"));
}

void AddShortcuts(QWidget& owner, const QList<QKeySequence>& keys, WindowPresentation* target,
                  void (WindowPresentation::*action)()) {
  for (const QKeySequence& key : keys) {
    auto* shortcut = new QShortcut(key, &owner);
    shortcut->setContext(Qt::ApplicationShortcut);
    QObject::connect(shortcut, &QShortcut::activated, target, action);
  }
}

}  // namespace

WindowPresentation::WindowPresentation(QWidget& form,
                                       std::function<QSize(const QSize& room)> arrange)
    : form_(form),
      arrange_(arrange ? std::move(arrange) : [&form](const QSize&) { return form.size(); }),
      form_size_(form.size()) {
  settings_ = LoadPresentationSettings(*OpenSettings());

  AddShortcuts(form_, {QKeySequence(Qt::Key_F11)}, this, &WindowPresentation::ToggleFullScreen);
  AddShortcuts(form_,
               {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)},
               this, &WindowPresentation::ZoomIn);
  AddShortcuts(form_, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, this, &WindowPresentation::ZoomOut);
  AddShortcuts(form_, {QKeySequence(Qt::CTRL | Qt::Key_0)}, this, &WindowPresentation::ResetZoom);
}

WindowPresentation::~WindowPresentation() = default;

double WindowPresentation::FitScale() {
  const QScreen* screen = host_ ? host_->screen() : form_.screen();
  if (screen == nullptr) return 1.0;
  return FitTo(settings_.full_screen
                   ? screen->geometry().size()
                   : screen->availableGeometry().marginsRemoved(kNominalFrame).size());
}

double WindowPresentation::FitTo(const QSize& room) {
  form_size_ = arrange_(room);
  return varek::FitScale(room, form_size_);
}

void WindowPresentation::Show() {
  scale_ = EffectiveScale(settings_.zoom, FitScale());
  if (scale_ == 1.0 && !settings_.full_screen) {
    // The form as built, nothing scaled; only its restored place is kept on
    // the screen (without a window manager it is where the window stays).
    if (const QScreen* screen = form_.screen()) {
      // The restored window may be larger than a screen that the shown part
      // of the form fits: it is cut to the screen, never below that part.
      const QRect area = screen->availableGeometry().marginsRemoved(kNominalFrame);
      QRect client = form_.geometry();
      client.setSize(client.size().boundedTo(area.size()).expandedTo(form_size_));
      form_.setGeometry(PlaceOnScreen(client, screen->availableGeometry(), kNominalFrame));
    }
    form_.showMaximized();
    return;
  }
  Apply();
}

void WindowPresentation::Apply() {
  // Fixed before the window changes: showing and resizing it below report
  // intermediate sizes to OnResize. A maximized window keeps its size: the
  // room is the client area it has (no resize event follows to correct a
  // fit to the nominal frame).
  const bool first = host_ == nullptr;
  const bool stays =
      !first && host_->isMaximized() && !host_->isFullScreen() && !settings_.full_screen;
  const double scale = EffectiveScale(settings_.zoom, stays ? FitTo(host_->size()) : FitScale());
  if (first) {
    host_ = std::make_unique<ScaledHost>(form_);
    // The client area that the window really got (a window manager's frame
    // may be larger than assumed, or the user resized it) decides the fit.
    host_->OnResize = [this](const QSize& client) {
      scale_ = EffectiveScale(settings_.zoom, FitTo(client));
      host_->SetScale(scale_, form_size_);
    };
  }
  scale_ = scale;
  host_->SetScale(scale, form_size_);
  host_->SetCentred(settings_.full_screen);

  const QRect screen_area = host_->screen()->availableGeometry();
  if (settings_.full_screen) {
    host_->setGeometry(host_->screen()->geometry());
    host_->showFullScreen();
  } else if (first || host_->isFullScreen()) {
    if (host_->isFullScreen()) host_->showNormal();
    host_->resize(ScaledSize(form_size_, scale));
    host_->move(screen_area.topLeft());
    host_->showMaximized();
  } else if (!host_->isMaximized()) {
    host_->resize(ScaledSize(form_size_, scale));
  }
  // Without a window manager nobody activates the window, and keys would
  // not reach it.
  host_->activateWindow();
}

void WindowPresentation::Refit() {
  if (host_ == nullptr && !settings_.full_screen &&
      EffectiveScale(settings_.zoom, FitScale()) == 1.0) {
    return;  // the unscaled form shows it all
  }
  Apply();
}

void WindowPresentation::ToggleFullScreen() {
  settings_.full_screen = !settings_.full_screen;
  Apply();
  Save();
}

void WindowPresentation::ZoomIn() {
  settings_.zoom = NextZoomStep(scale_);
  Apply();
  Save();
}

void WindowPresentation::ZoomOut() {
  settings_.zoom = PreviousZoomStep(scale_);
  Apply();
  Save();
}

void WindowPresentation::ResetZoom() {
  settings_.zoom = kFillWindow;
  Apply();
  Save();
}

void WindowPresentation::Save() const { SavePresentationSettings(*OpenSettings(), settings_); }

}  // namespace varek
