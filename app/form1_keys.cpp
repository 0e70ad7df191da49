// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own keys: F1 shows the list of every key, Escape closes the
// page that covers the window; the readouts beside the scroll bars take
// typed values.
#include <QShortcut>

#include "app/dialog_parent.h"
#include "app/form1.h"
#include "app/form_builder.h"
#include "app/key_help_dialog.h"

namespace varek {

void TForm1::BuildKeys() {
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          [this] { ShowKeyHelp(); });
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
    if (!Panel4->isHidden()) {
      Button14Click(Button14);
    } else if (!Panel10->isHidden()) {
      Button7Click(Button7);
    }
  });
  for (const Readout& readout : readouts_) {
    readout.edit->SetOnTyped([this, readout](const QString& text) { TypeValue(readout, text); },
                             [this, bar = readout.bar] { ShowReadout(bar); });
  }
}

void TForm1::TypeValue(const Readout& readout, const QString& text) {
  const TypedValue typed = ReadTypedValue(text.toStdString(), readout.field);
  if (typed.position) {
    readout.bar->SetPosition(*typed.position);
  } else {
    ReadingHint->setPlainText(DescriptionText(typed.refusal));
  }
  readout.edit->setAccessibleDescription(DescriptionText(typed.refusal));
  ShowReadout(readout.bar);
}

void TForm1::ShowKeyHelp() {
  if (key_help_ == nullptr) {
    key_help_ = new KeyHelpDialog(DialogParent(this));
    key_help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  key_help_->show();
  key_help_->raise();
  key_help_->activateWindow();
}

}  // namespace varek
