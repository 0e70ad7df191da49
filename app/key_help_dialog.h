// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Tastenkürzel und Bedienung": the keys of the window as a table, in a
// window of its own that Escape or "Schließen" closes.
#pragma once

#include <QDialog>

namespace varek {

class KeyHelpDialog : public QDialog {
  Q_OBJECT
 public:
  explicit KeyHelpDialog(QWidget* parent);
};

}  // namespace varek
