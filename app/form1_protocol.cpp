// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The way from the main window to the measurement protocol: the button below
// the right column and its shortcut (both in the window's description).
#include <QShortcut>

#include "app/form1.h"
#include "app/protocol/protocol_window.h"
#include "form/form1.h"

namespace varek {

void TForm1::BuildProtocol() {
  ProtocolButton->SetOnClick([this] { ShowProtocol(); });
  const std::string_view keys = form::FindControl("ProtocolButton")->shortcut;
  auto* shortcut = new QShortcut(
      QKeySequence(QString::fromUtf8(keys.data(), static_cast<qsizetype>(keys.size())),
                   QKeySequence::PortableText),
      this);
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
