// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1: the one window of the program.
//
// Controls keep absolute positions and sizes relative to their parent panel;
// nothing is anchored, stretched or laid out, so resizing the window moves
// nothing. The settings live in the controls themselves.
#pragma once

#include <QWidget>
#include <memory>

#include "app/qt_message_pump.h"
#include "app/recompute_chain.h"
#include "app/toolkit/controls.h"
#include "app/toolkit/image_view.h"
#include "app/toolkit/panel.h"

namespace varek {

class Simulation;
class ProtocolWindow;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  // Builds every control from its initial values (no event fires), then runs
  // FormCreate, which starts up the window's own simulation.
  TForm1();
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

  // The measurement protocol: its window, the button that opens it (below the
  // right column) and Ctrl+M.
  void ShowProtocol();
  TButton* ProtocolButton = nullptr;
  ProtocolWindow* Protocol = nullptr;

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
  void BuildControls();
  void BuildRightColumn();
  void BuildViewPanel();
  void BuildSettingsBlock();
  void BuildDeflectionPanel();
  void BuildDataPanel();
  void BuildInformationPanel();
  void SetTabOrder();
  void LoadPictures();
  void AttachHandlers();
  void ActivateOnce();
  void BuildProtocol();
  // Draws the deflection plot for the settings in force and shows it.
  void DrawDeflectionSignal();

  std::unique_ptr<Simulation> simulation_;
  QtMessagePump pump_;
  RecomputeChain chain_;
  Bitmap signal_background_;
  bool activated_ = false;
  bool shown_once_ = false;
};

}  // namespace varek
