// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1: the one window of the program.
//
// Its controls are built from the window's description (form/form1.h) and
// keep their names there as members here. They keep absolute positions and
// sizes relative to their parent panel; nothing is anchored, stretched or
// laid out, so resizing the window moves nothing. The settings live in the
// controls themselves.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/form_builder.h"
#include "app/mark_sound.h"
#include "app/qt_message_pump.h"
#include "app/recompute_chain.h"
#include "app/toolkit/controls.h"
#include "app/toolkit/image_view.h"
#include "app/toolkit/panel.h"
#include "measurement/protocol_checks.h"
#include "measurement/typed_value.h"
#include "model/setting_table.h"

namespace varek {

class Simulation;
class ProtocolPanel;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  // Builds every control from its initial values and gives them `start`
  // (no event fires), then runs FormCreate, which starts up the window's own
  // simulation. Prepared settings open the window past the information page.
  explicit TForm1(const Settings& start = Settings{}, bool prepared = false);
  ~TForm1() override;

  // The settings in force, read from the controls.
  Settings CurrentSettings() const;

  Simulation& simulation() { return *simulation_; }
  RecomputeChain& chain() { return chain_; }
  QtMessagePump& pump() { return pump_; }

  // Handlers. Each receives the sending control and ignores it.
  void FormCreate(QObject* Sender);
  void FormActivate(QObject* Sender);
  void PaintBox1Paint(QObject* Sender);
  void ScrollBar1Change(QObject* Sender);
  void ScrollBar2Change(QObject* Sender);
  void ScrollBar4Change(QObject* Sender);
  void ScrollBar7Change(QObject* Sender);
  void ScrollBar3Change(QObject* Sender);
  void AblenkEinClick(QObject* Sender);
  void AblenkAusClick(QObject* Sender);
  void GleichspannungClick(QObject* Sender);
  void WechselspannungClick(QObject* Sender);
  void RadioButton1Click(QObject* Sender);
  void RadioButton2Click(QObject* Sender);
  void CheckBox5Click(QObject* Sender);
  void CheckBox1Click(QObject* Sender);
  void Button3Click(QObject* Sender);
  void Button5Click(QObject* Sender);
  void Button1Click(QObject* Sender);
  void Button14Click(QObject* Sender);
  void Button6Click(QObject* Sender);
  void Button7Click(QObject* Sender);
  void Button2Click(QObject* Sender);

  bool Activated() const { return activated_; }

  // "Tastenkürzel und Bedienung" (F1), a window of its own.
  void ShowKeyHelp();
  QDialog* KeyHelp() const { return key_help_; }

  // The measurement protocol: its panel right of the right column, the
  // button that shows and hides it (below the right column) and Ctrl+M;
  // Ctrl+Enter records a reading.
  void ShowProtocol(bool shown);
  void ToggleProtocol();
  void RecordReading();
  // Ctrl+Z: puts back what the last deletion in the protocol removed.
  void UndoDeletion();
  // The window's state for a reading (the order k is the panel's).
  Reading CurrentReading() const;
  TButton* ProtocolButton = nullptr;
  // The line under the settings (measurement/reading_hints.h), written
  // after every picture.
  QPlainTextEdit* ReadingHint = nullptr;
  void ShowReadingHint();
  // "Ton": the marks' tone after every picture, while it is switched on.
  TCheckBox* ToneSwitch = nullptr;
  MarkSound* Sound = nullptr;
  void ToneSwitchClick(QObject* Sender);
  void PlayTone();
  ProtocolPanel* Protocol = nullptr;

  // The part of the form that is shown (wider with the protocol beside
  // it), and who fits it to the screen again when it changes.
  QSize ShownSize() const;
  std::function<void()> OnShownSizeChange;
  // Places the protocol for a room of that size (beside the form where the
  // room is wide enough) and returns the part of the form then shown.
  QSize ArrangeFor(const QSize& room);

  // Directly on the window, bottom to top.
  TPaintBox* PaintBox1 = nullptr;
  TPanel* Panel6 = nullptr;
  TScrollBar* ScrollBar1 = nullptr;
  TScrollBar* ScrollBar2 = nullptr;
  TPanel* Panel9 = nullptr;
  TPanel* Panel4 = nullptr;

  // Right column.
  TPanel* Panel2 = nullptr;
  TPanel* Panel5 = nullptr;
  TLabel* Label12 = nullptr;
  TLabel* Label9 = nullptr;
  TLabel* Label13 = nullptr;
  TEdit* Edit7 = nullptr;
  TLabel* Label15 = nullptr;
  TLabel* Label14 = nullptr;
  TEdit* Edit8 = nullptr;
  TLabel* Label16 = nullptr;
  TCheckBox* CheckBox5 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TPanel* Panel8 = nullptr;
  TLabel* Label4 = nullptr;
  TButton* Button5 = nullptr;
  TButton* Button3 = nullptr;
  TPanel* Panel7 = nullptr;
  TLabel* Label7 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TPanel* Panel3 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button6 = nullptr;
  TButton* Button2 = nullptr;

  // Bottom block: experiment settings and the data panel over them.
  TPanel* Panel1 = nullptr;
  TLabel* Label2 = nullptr;
  TScrollBar* ScrollBar7 = nullptr;
  TEdit* Edit5 = nullptr;
  TLabel* Label10 = nullptr;
  TScrollBar* ScrollBar4 = nullptr;
  TEdit* Edit1 = nullptr;
  TLabel* Label1 = nullptr;
  TRadioButton* AblenkEin = nullptr;
  TRadioButton* AblenkAus = nullptr;
  TPanel* Panel11 = nullptr;
  TScrollBar* ScrollBar3 = nullptr;
  TRadioButton* Gleichspannung = nullptr;
  TRadioButton* Wechselspannung = nullptr;
  TImage* Image3 = nullptr;
  TPaintBox* PaintBox2 = nullptr;
  TPanel* Panel10 = nullptr;
  TImage* Image2 = nullptr;
  TButton* Button7 = nullptr;

  // Information panel.
  TImage* Image1 = nullptr;
  TLabel* Label3 = nullptr;  // one-line caption
  TButton* Button14 = nullptr;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Readout {
    TScrollBar* bar;
    TEdit* edit;
    ReadoutFormat format;
    ValueField field;
  };

  void BuildControls();
  void LoadPictures();
  void AttachHandlers();
  void ActivateOnce();
  void BuildProtocol();
  // F1 and Escape; typed values in the readouts.
  void BuildKeys();
  // Sets the readout's scroll bar to a typed value, or says in the line
  // under the settings why not and shows the value in force again.
  void TypeValue(const Readout& readout, const QString& text);
  // The tab chain of the description, once every control is built.
  void SetTabChain();
  // Draws the deflection plot for the settings in force and shows it.
  void DrawDeflectionSignal();
  // Writes a scroll bar's position into its readout, in the bar's format.
  void ShowReadout(const TScrollBar* bar);
  // The amplitude's value and range as the bar's tool tip and description.
  void ShowAmplitude();
  // A view button: the scroll bars where the button's row of the description puts them.
  void PutInPlaces(const QObject* button);
  // The value of a setting as its controls hold it, and the controls set to
  // a value.
  int ControlValue(const SettingRow& row) const;
  void ApplySettings(const Settings& settings);
  // What a change of the setting held by `control` asks the chain for.
  static Stage StageOf(const QObject* control);
  // Shows or hides a page (the information or the data panel). While it is
  // shown, the controls under it take neither clicks nor the keyboard focus.
  void ShowPage(TPanel* page, bool shown);

  std::unique_ptr<Simulation> simulation_;
  QtMessagePump pump_;
  RecomputeChain chain_;
  Bitmap signal_background_;
  std::vector<Readout> readouts_;
  BuiltControls controls_;  // every control by its name in the description
  // Where the focus goes when the information page is closed: the control
  // that opened it, or the first control of the tab chain.
  QWidget* focus_after_information_ = nullptr;
  QPointer<QDialog> key_help_;
  bool activated_ = false;
  bool shown_once_ = false;
};

}  // namespace varek
