// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window that a dialog of a control belongs to.
//
// Where the form is shown scaled it lives in a QGraphicsProxyWidget, and Qt
// draws a window or dialog whose parent is the proxied form into the scaled
// picture: without a title bar, black or hidden behind the form. Questions
// and file dialogs are therefore parented to the real top-level window that
// shows the form, so they are windows of their own above it, at every zoom
// and in full screen.
#pragma once

class QWidget;

namespace varek {

QWidget* DialogParent(QWidget* control);

}  // namespace varek
