// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement protocol in the main window: a panel to the right of the
// right-hand column, shown and hidden by the button "Messprotokoll" (below
// the right column, under the information page like every working control)
// and Ctrl+M; Ctrl+Enter records a reading from anywhere in the window.
// The form's size is the part that is shown: with the panel it is wider, and
// the window scales the whole form to the screen.
#include <QShortcut>

#include "app/form1.h"
#include "app/protocol/protocol_panel.h"
#include "app/protocol/qt_text.h"
#include "app/toolkit/look.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {
// Below Panel6 (which ends at y = 673), aligned with the buttons' panel Panel3.
const QRect kProtocolButtonBounds(760, 681, 225, 25);
// Right of Panel6 (which ends at x = 993), from the top of the right column.
const QPoint kProtocolPanelTopLeft(1001, 8);
// The form without and with the panel: the information page (1004 × 721)
// is the largest part; the panel ends 8 px before the right edge.
const QSize kFormSize(1004, 721);
const QSize kFormSizeWithProtocol(kProtocolPanelTopLeft.x() + ProtocolPanel::Width + 8, 721);
}  // namespace

void TForm1::BuildProtocol() {
  ProtocolButton =
      new TButton(this, kProtocolButtonBounds, Q(protocol_caption::Open), PixelFont(13, true));
  ProtocolButton->setToolTip(Q(protocol_caption::OpenHint));
  ProtocolButton->stackUnder(Panel4);
  QWidget::setTabOrder(Button7, ProtocolButton);
  ProtocolButton->SetOnClick([this] { ToggleProtocol(); });
  auto* toggle = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
  connect(toggle, &QShortcut::activated, this, [this] { ToggleProtocol(); });
  for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
    auto* record = new QShortcut(key, this);
    connect(record, &QShortcut::activated, this, [this] { RecordReading(); });
  }

  Protocol = new ProtocolPanel(this, kProtocolPanelTopLeft, DefaultProtocolStorePath(),
                               [this] { return CurrentReading(); });
  Protocol->hide();
}

Reading TForm1::CurrentReading() const {
  const Settings now = CurrentSettings();
  Reading reading;
  reading.voltage = now.voltage;
  reading.current = now.current;
  reading.amplitude = now.amplitude;
  reading.deflection_on = now.deflection_on;
  reading.steady = now.steady;
  reading.information_shown = !Panel4->isHidden();
  reading.data_shown = !Panel10->isHidden();
  return reading;
}

QSize TForm1::ShownSize() const { return Protocol->isHidden() ? kFormSize : kFormSizeWithProtocol; }

void TForm1::ShowProtocol(bool shown) {
  if (shown == !Protocol->isHidden()) return;
  Protocol->setVisible(shown);
  if (shown) Protocol->Reload();
  if (OnShownSizeChange) OnShownSizeChange();
}

void TForm1::ToggleProtocol() {
  // Like every working control, not while the information page covers the window.
  if (!Panel4->isHidden()) return;
  ShowProtocol(Protocol->isHidden());
}

void TForm1::RecordReading() {
  ShowProtocol(true);
  Protocol->Record();
}

}  // namespace varek
