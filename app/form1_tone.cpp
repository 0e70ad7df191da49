// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Ton": the marks' distance as a pitch, after every picture.
#include "app/form1.h"
#include "render/beam_marks.h"
#include "render/simulation.h"

namespace varek {

void TForm1::ToneSwitchClick(QObject* /*Sender*/) {
  if (ToneSwitch->isChecked() && !MarkSound::Available()) {
    ToneSwitch->setChecked(false);
    ReadingHint->setPlainText(
        QStringLiteral("Kein Audioausgang gefunden: der Ton ist nicht verfügbar."));
    return;
  }
  PlayTone();
}

void TForm1::PlayTone() {
  Sound->Play(ToneSwitch->isChecked() ? ToneFor(PlaceMarks(simulation_->scene())) : MarkTone{});
}

}  // namespace varek
