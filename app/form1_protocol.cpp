// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement protocol in the main window: its panels (the description's
// rows "Protocol" over the right-hand column and "ProtocolReadings" below
// the settings), shown and hidden by the button "Messprotokoll" and its
// shortcut; the shortcut of "Messwert übernehmen" records a reading from
// anywhere in the window, that of "Rückgängig" puts back the rows the last
// deletion took. The window fits the form's shown part to the
// screen: beneath, the panels lie within the information page's rectangle,
// and the form is shown as large with them as without; on a wide screen
// they stand beside the form and cover nothing (form/protocol_place.h).
#include <QShortcut>

#include "app/form1.h"
#include "app/protocol/protocol_panel.h"
#include "form/form1.h"
#include "form/protocol_place.h"
#include "measurement/reading_hints.h"
#include "render/simulation.h"

namespace varek {

namespace {

// The shortcut of a row, and for Return its twin on the keypad.
std::vector<QKeySequence> KeysOf(std::string_view row) {
  const std::string_view keys = form::FindControl(row)->shortcut;
  const QKeySequence key(DescriptionText(keys), QKeySequence::PortableText);
  std::vector<QKeySequence> sequences{key};
  if (key[0].key() == Qt::Key_Return) {
    sequences.emplace_back(
        QKeyCombination(key[0].keyboardModifiers() | Qt::KeypadModifier, Qt::Key_Enter));
  }
  return sequences;
}

}  // namespace

void TForm1::BuildProtocol() {
  Protocol =
      new ProtocolPanel(this, DefaultProtocolStorePath(), [this] { return CurrentReading(); });
  // As in the description: the information page lies over them.
  Protocol->stackUnder(Panel4);
  Protocol->Readings->stackUnder(Panel4);
  for (const auto& [name, control] : Protocol->Controls()) controls_[name] = control;

  ProtocolButton->SetOnClick([this] { ToggleProtocol(); });
  for (const QKeySequence& key : KeysOf("ProtocolButton")) {
    connect(new QShortcut(key, this), &QShortcut::activated, this, [this] { ToggleProtocol(); });
  }
  for (const QKeySequence& key : KeysOf("ProtocolRecord")) {
    connect(new QShortcut(key, this), &QShortcut::activated, this, [this] { RecordReading(); });
  }
  // A field with the focus takes the key for its own text first.
  for (const QKeySequence& key : KeysOf("ProtocolUndo")) {
    connect(new QShortcut(key, this), &QShortcut::activated, this, [this] { UndoDeletion(); });
  }
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
  reading.screen_hit = simulation_->scene().ScreenHit;
  return reading;
}

void TForm1::ShowReadingHint() {
  const Settings now = CurrentSettings();
  const QString hint =
      DescriptionText(varek::ReadingHint({.voltage = now.voltage,
                                          .amplitude = now.amplitude,
                                          .deflection_on = now.deflection_on,
                                          .screen_hit = simulation_->scene().ScreenHit}));
  if (ReadingHint->toPlainText() != hint) ReadingHint->setPlainText(hint);
  PlayTone();
}

QSize TForm1::ShownSize() const {
  const form::FormSize shown = form::ShownSize(!Protocol->isHidden(), Protocol->Place());
  return {shown.width, shown.height};
}

QSize TForm1::ArrangeFor(const QSize& room) {
  Protocol->SetPlace(form::ChooseProtocolPlace(room.width(), room.height()));
  return ShownSize();
}

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

void TForm1::UndoDeletion() {
  if (!Panel4->isHidden() || !Protocol->CanUndo()) return;
  ShowProtocol(true);
  Protocol->Undo();
}

void TForm1::RecordReading() {
  ShowProtocol(true);
  Protocol->Record();
}

}  // namespace varek
