// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The way from the main window to the measurement protocol: a button in the
// free room below the right column, under the information page like every
// working control, and the shortcut Ctrl+M.
#include <QShortcut>

#include "app/form1.h"
#include "app/protocol/protocol_window.h"
#include "app/toolkit/look.h"

namespace varek {

namespace {
// Below Panel6 (which ends at y = 673), aligned with the buttons' panel Panel3.
const QRect kProtocolButtonBounds(760, 681, 225, 25);
}  // namespace

void TForm1::BuildProtocol() {
  ProtocolButton =
      new TButton(this, kProtocolButtonBounds, QStringLiteral("Messprotokoll"), PixelFont(13, true));
  ProtocolButton->setToolTip(QStringLiteral("Messprotokoll öffnen (Strg+M)"));
  ProtocolButton->stackUnder(Panel4);
  QWidget::setTabOrder(Button7, ProtocolButton);
  ProtocolButton->SetOnClick([this] { ShowProtocol(); });
  auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
  connect(shortcut, &QShortcut::activated, this, [this] { ShowProtocol(); });

  Protocol = new ProtocolWindow(this, DefaultProtocolStorePath(), [this] {
    const Settings now = CurrentSettings();
    return ProtocolReading{now.voltage, now.current, now.amplitude};
  });
}

void TForm1::ShowProtocol() {
  Protocol->show();
  Protocol->raise();
  Protocol->activateWindow();
}

}  // namespace varek
