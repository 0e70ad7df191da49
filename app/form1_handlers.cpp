// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's event handlers. Each updates readouts, scene settings or panels at
// once, in its order, and leaves recomputing and drawing the scene to the
// recomputation chain.
#include <memory>

#include "app/form1.h"
#include "app/protocol/protocol_panel.h"
#include "form/form1.h"
#include "render/simulation.h"

namespace varek {

void TForm1::FormCreate(QObject* /*Sender*/) {
  ShowReadout(ScrollBar7);
  ShowReadout(ScrollBar4);
  // The window's own simulation: back buffer, model start-up, coil and rims.
  simulation_ = std::make_unique<Simulation>(CurrentSettings());
  simulation_->SetMessagePump(&pump_);
  simulation_->SetSignalBackground(signal_background_);
  ShowReadout(ScrollBar1);
  ShowReadout(ScrollBar2);
  ShowAmplitude();
}

void TForm1::FormActivate(QObject* /*Sender*/) { chain_.Request(Stage::Full); }

void TForm1::PaintBox1Paint(QObject* /*Sender*/) {
  chain_.Request(Stage::Full);
  if (AblenkEin->isChecked()) DrawDeflectionSignal();
}

void TForm1::ScrollBar1Change(QObject* Sender) {
  ShowReadout(ScrollBar1);
  chain_.Request(StageOf(Sender));
}

void TForm1::ScrollBar2Change(QObject* Sender) {
  ShowReadout(ScrollBar2);
  chain_.Request(StageOf(Sender));
}

void TForm1::ScrollBar4Change(QObject* Sender) {
  ShowReadout(ScrollBar4);
  chain_.Request(StageOf(Sender));
}

void TForm1::ScrollBar7Change(QObject* Sender) {
  ShowReadout(ScrollBar7);
  chain_.Request(StageOf(Sender));
}

void TForm1::ScrollBar3Change(QObject* Sender) {
  ShowAmplitude();
  DrawDeflectionSignal();
  chain_.Request(StageOf(Sender));
}

void TForm1::AblenkEinClick(QObject* Sender) {
  DrawDeflectionSignal();
  chain_.Request(StageOf(Sender));
}

void TForm1::AblenkAusClick(QObject* Sender) { chain_.Request(StageOf(Sender)); }

void TForm1::GleichspannungClick(QObject* Sender) {
  DrawDeflectionSignal();
  chain_.Request(StageOf(Sender));
}

void TForm1::WechselspannungClick(QObject* Sender) {
  DrawDeflectionSignal();
  chain_.Request(StageOf(Sender));
}

void TForm1::RadioButton1Click(QObject* Sender) { chain_.Request(StageOf(Sender)); }

void TForm1::RadioButton2Click(QObject* Sender) { chain_.Request(StageOf(Sender)); }

void TForm1::CheckBox5Click(QObject* Sender) { chain_.Request(StageOf(Sender)); }

void TForm1::CheckBox1Click(QObject* Sender) { chain_.Request(StageOf(Sender)); }

void TForm1::Button3Click(QObject* Sender) { PutInPlaces(Sender); }

void TForm1::Button5Click(QObject* Sender) { PutInPlaces(Sender); }

void TForm1::PutInPlaces(const QObject* button) {
  for (const form::Place& place : form::FindControl(button->objectName().toStdString())->places) {
    if (!place.slider.empty())
      findChild<TScrollBar*>(DescriptionText(place.slider))->SetPosition(place.position);
  }
}

// The pages take the focus while they are shown and give it back when they
// are closed: to the button that opened them.
void TForm1::Button1Click(QObject* /*Sender*/) {
  ShowPage(Panel4, true);
  Button14->show();
  focus_after_information_ = Button1;
  Button14->setFocus();
}

void TForm1::Button14Click(QObject* /*Sender*/) {
  ShowPage(Panel4, false);
  Button14->hide();
  chain_.Request(Stage::Render);
  DrawDeflectionSignal();
  focus_after_information_->setFocus();
}

void TForm1::Button6Click(QObject* /*Sender*/) {
  ShowPage(Panel10, true);
  Button7->setFocus();
}

void TForm1::Button7Click(QObject* /*Sender*/) {
  ShowPage(Panel10, false);
  if (AblenkEin->isChecked()) DrawDeflectionSignal();
  Button6->setFocus();
}

void TForm1::ShowReadout(const TScrollBar* bar) {
  for (const Readout& readout : readouts_) {
    if (readout.bar == bar)
      readout.edit->setText(QString::fromStdString(ReadoutText(readout.format, bar->Position())));
  }
}

void TForm1::ShowAmplitude() {
  // The amplitude has no readout: its bar tells its value and range.
  const QString text =
      QStringLiteral("Amplitude %1 von %2").arg(ScrollBar3->Position()).arg(ScrollBar3->maximum());
  ScrollBar3->setToolTip(text);
  ScrollBar3->setAccessibleDescription(text);
}

void TForm1::ShowPage(TPanel* page, bool shown) {
  if (shown) page->show();
  // Children are listed from bottom to top: those before the page lie under it.
  for (QObject* child : page->parentWidget()->children()) {
    if (child == page) break;
    auto* sibling = qobject_cast<QWidget*>(child);
    if (sibling != nullptr && !sibling->isWindow() &&
        sibling->geometry().intersects(page->geometry())) {
      sibling->setEnabled(!shown);
    }
  }
  if (!shown) page->hide();
  if (!shown && Protocol != nullptr) Protocol->CoverGone();
}

void TForm1::Button2Click(QObject* /*Sender*/) {
  simulation_->RequestStop();
  close();  // closeEvent marks the chain as closing
}

}  // namespace varek
