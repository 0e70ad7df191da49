// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <string>

#include "assets/pictures.h"
#include "pictures/pages.h"
#include "render/simulation.h"

namespace varek {

namespace {
// Without a window manager the window is never activated; the first chain
// then runs this long after the window was shown.
constexpr int kActivationGraceMs = 400;

std::optional<Bitmap> LoadOrReport(PictureId id, const char* name) {
  std::string reason;
  std::optional<Bitmap> picture = LoadPicture(id, &reason);
  if (!picture) {
    std::fprintf(stderr, "varek-em: the picture %s cannot be shown: %s\n", name, reason.c_str());
  }
  return picture;
}
}  // namespace

TForm1::TForm1(const Settings& start, bool prepared)
    : QWidget(nullptr),
      chain_([this]() -> Simulation& { return *simulation_; }, [this] { return CurrentSettings(); },
             [this](const Bitmap& picture) {
               PaintBox1->Present(picture);
               ShowReadingHint();
             }) {
  BuildControls();
  ApplySettings(start);
  // The information page lies over everything at start, "Weiter" in focus.
  ShowPage(Panel4, true);
  Button14->setFocus();

  LoadPictures();

  AttachHandlers();
  Sound = new MarkSound(this);
  ToneSwitch->SetOnClick([this] { ToneSwitchClick(ToneSwitch); });
  BuildProtocol();
  BuildKeys();
  SetTabChain();
  FormCreate(this);
  if (prepared) {
    ShowPage(Panel4, false);
    Button14->hide();
    focus_after_information_->setFocus();
  }
}

TForm1::~TForm1() = default;

Settings TForm1::CurrentSettings() const {
  Settings settings;
  for (const SettingRow& row : SettingTable()) row.SetIn(settings, ControlValue(row));
  return settings;
}

int TForm1::ControlValue(const SettingRow& row) const {
  QWidget* first = controls_.at(row.controls[0]);
  if (const auto* bar = qobject_cast<TScrollBar*>(first)) return bar->Position();
  for (int value = row.range.lowest; value <= row.range.highest; ++value) {
    const std::string_view checked = row.CheckedControl(value);
    if (!checked.empty() && qobject_cast<QAbstractButton*>(controls_.at(checked))->isChecked())
      return value;
  }
  return row.range.lowest;  // a check box that is not checked
}

void TForm1::ApplySettings(const Settings& settings) {
  for (const SettingRow& row : SettingTable()) {
    const int value = row.ValueIn(settings);
    if (auto* bar = qobject_cast<TScrollBar*>(controls_.at(row.controls[0]))) {
      bar->SetPosition(value);
      continue;
    }
    for (std::string_view control : row.controls) {
      if (!control.empty())
        qobject_cast<QAbstractButton*>(controls_.at(control))
            ->setChecked(control == row.CheckedControl(value));
    }
  }
  Panel11->setVisible(settings.deflection_on);
}

Stage TForm1::StageOf(const QObject* control) {
  const SettingRow* row = SettingOfControl(control->objectName().toStdString());
  return row != nullptr && row->stage == SettingStage::Paths ? Stage::Full : Stage::Render;
}

void TForm1::DrawDeflectionSignal() {
  PaintBox2->Present(simulation_->DrawDeflectionSignal(CurrentSettings()));
}

void TForm1::LoadPictures() {
  if (auto picture = LoadOrReport(PictureId::Information, "Information")) {
    Image1->SetPicture(*picture);
  }
  if (auto picture = LoadOrReport(PictureId::Data, "Data")) Image2->SetPicture(*picture);
  // Shown enlarged, the text pages are painted at the size they are shown
  // at, sharp; without the fonts the pictures are enlarged.
  const auto paint = [](QImage (*page)(double)) {
    return [page](double scale) {
      return pictures::LoadPageFonts("varek-em") ? page(scale) : QImage();
    };
  };
  Image1->PaintAtScale = paint(&pictures::PaintInformationPage);
  Image2->PaintAtScale = paint(&pictures::PaintDataPage);
  // The plot needs a background even when its picture is damaged: plain white.
  const Bitmap axes =
      LoadOrReport(PictureId::SignalAxes, "SignalAxes").value_or(Bitmap(SignalWidth, SignalHeight));
  Image3->SetPicture(axes);
  PaintBox2->Present(axes);
  signal_background_ = axes;
}

void TForm1::AttachHandlers() {
  PaintBox1->OnPaint = [this] { PaintBox1Paint(PaintBox1); };
  // Shown enlarged, the scene and the plot are drawn at the scale they are
  // shown at, so every device pixel is the drawing's own.
  PaintBox1->OnDeviceScale = [this](double scale) {
    simulation_->SetPictureScale(scale > 1 ? static_cast<Extended>(scale) : Extended(1));
    chain_.Request(Stage::Render);
    if (AblenkEin->isChecked()) DrawDeflectionSignal();
  };
  ScrollBar1->SetOnChange([this] { ScrollBar1Change(ScrollBar1); });
  ScrollBar2->SetOnChange([this] { ScrollBar2Change(ScrollBar2); });
  ScrollBar4->SetOnChange([this] { ScrollBar4Change(ScrollBar4); });
  ScrollBar7->SetOnChange([this] { ScrollBar7Change(ScrollBar7); });
  ScrollBar3->SetOnChange([this] { ScrollBar3Change(ScrollBar3); });
  AblenkEin->SetOnClick([this] { AblenkEinClick(AblenkEin); });
  AblenkAus->SetOnClick([this] { AblenkAusClick(AblenkAus); });
  Gleichspannung->SetOnClick([this] { GleichspannungClick(Gleichspannung); });
  Wechselspannung->SetOnClick([this] { WechselspannungClick(Wechselspannung); });
  RadioButton1->SetOnClick([this] { RadioButton1Click(RadioButton1); });
  RadioButton2->SetOnClick([this] { RadioButton2Click(RadioButton2); });
  CheckBox5->SetOnClick([this] { CheckBox5Click(CheckBox5); });
  CheckBox1->SetOnClick([this] { CheckBox1Click(CheckBox1); });
  Button3->SetOnClick([this] { Button3Click(Button3); });
  Button5->SetOnClick([this] { Button5Click(Button5); });
  Button1->SetOnClick([this] { Button1Click(Button1); });
  Button14->SetOnClick([this] { Button14Click(Button14); });
  Button6->SetOnClick([this] { Button6Click(Button6); });
  Button7->SetOnClick([this] { Button7Click(Button7); });
  Button2->SetOnClick([this] { Button2Click(Button2); });
}

bool TForm1::event(QEvent* event) {
  // Only the first activation runs the chain; later ones would recompute the
  // same picture.
  if (event->type() == QEvent::WindowActivate) ActivateOnce();
  return QWidget::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  QTimer::singleShot(kActivationGraceMs, this, [this] { ActivateOnce(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  chain_.MarkClosing();
  QWidget::closeEvent(event);
}

void TForm1::ActivateOnce() {
  if (activated_) return;
  activated_ = true;
  // The focus shows from the start, not only after the first Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  FormActivate(this);
}

}  // namespace varek
