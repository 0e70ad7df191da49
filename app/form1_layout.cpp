// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Building TForm1's controls from their initial values: positions and sizes
// relative to the parent, colours, fonts, captions, start states, stacking
// and tab order. No control event is attached yet, so none fires here.
#include <iterator>

#include "app/form1.h"
#include "app/toolkit/look.h"

namespace varek {

namespace {
const QColor kOuterPanel(91, 91, 91);
const QColor kInnerPanel(65, 65, 65);
const QColor kCaption = Qt::white;
const QColor kWindowText = Qt::black;

QFont Bold13() { return PixelFont(13, true); }
QFont Regular13() { return PixelFont(13, false); }

TLabel* Caption(QWidget* parent, QPoint top_left, const QString& text) {
  return new TLabel(parent, top_left, text, Bold13(), kCaption);
}

// Check boxes and radio buttons draw their caption in white on the panel.
template <typename Control>
Control* White(Control* control) {
  SetTextColour(control, kCaption);
  return control;
}
}  // namespace

void TForm1::BuildControls() {
  PaintBox1 = new TPaintBox(this, {8, 8, 720, 440});
  PaintBox1->setAccessibleName(QStringLiteral("Ansicht der Apparatur"));
  PaintBox1->setAccessibleDescription(QStringLiteral(
      "Drahtmodell von Spule, Ablenkplatten, Röhre, Schirm und Elektronenbahnen"));
  Panel6 = new TPanel(this, {752, 8, 241, 665}, kOuterPanel);
  Panel6->setFont(Bold13());
  SetTextColour(Panel6, kCaption);
  ScrollBar1 = new TScrollBar(this, Qt::Vertical, {732, 8, 12, 441}, {-180, 180, 5, 1, 5});
  ScrollBar1->setAccessibleName(QStringLiteral("Drehung um die z-Achse in Grad"));
  ScrollBar2 = new TScrollBar(this, Qt::Horizontal, {8, 452, 713, 12}, {-180, 0, -25, 1, 5});
  ScrollBar2->setAccessibleName(QStringLiteral("Drehung links-rechts in Grad"));
  Panel9 = new TPanel(this, {8, 472, 745, 201}, kOuterPanel);
  Panel4 = new TPanel(this, {0, 0, 1004, 721}, kInnerPanel);

  BuildRightColumn();
  BuildSettingsBlock();
  BuildDataPanel();
  BuildInformationPanel();

  // Bottom to top.
  for (QWidget* w : {static_cast<QWidget*>(PaintBox1), static_cast<QWidget*>(Panel6),
                     static_cast<QWidget*>(ScrollBar1), static_cast<QWidget*>(ScrollBar2),
                     static_cast<QWidget*>(Panel9), static_cast<QWidget*>(Panel4)}) {
    w->raise();
  }
}

void TForm1::BuildRightColumn() {
  Panel2 = new TPanel(Panel6, {8, 12, 225, 373}, kInnerPanel);
  Panel5 = new TPanel(Panel2, {0, 0, 225, 57}, kInnerPanel);
  Label12 = Caption(Panel5, {24, 9}, QStringLiteral("Drehung der Anordnung"));
  Label9 = new TLabel(Panel5, {32, 28}, QStringLiteral("(mit Hilfe der Schieberegler)"),
                      DefaultFont(), kCaption);
  Label13 = Caption(Panel2, {8, 76}, QStringLiteral("um die z-Achse"));
  Edit7 = new TEdit(Panel2, {120, 72, 41, 22}, Bold13());
  Edit7->setAccessibleName(QStringLiteral("Anzeige Drehung um die z-Achse in Grad"));
  Label15 = Caption(Panel2, {168, 76}, QStringLiteral("Grad"));
  Label14 = Caption(Panel2, {8, 116}, QStringLiteral("links <-> rechts"));
  Edit8 = new TEdit(Panel2, {120, 112, 41, 22}, Bold13());
  Edit8->setAccessibleName(QStringLiteral("Anzeige Drehung links-rechts in Grad"));
  Label16 = Caption(Panel2, {168, 116}, QStringLiteral("Grad"));
  CheckBox5 = White(new TCheckBox(Panel2, {16, 168, 137, 17}, QStringLiteral("Spule sichtbar"),
                                  Bold13()));
  CheckBox1 = White(new TCheckBox(Panel2, {16, 208, 169, 17},
                                  QStringLiteral("Schirm durchsichtig"), Bold13()));
  BuildViewPanel();

  Panel7 = new TPanel(Panel6, {8, 396, 225, 69}, kInnerPanel);
  Label7 = Caption(Panel7, {8, 24}, QStringLiteral("Dicke der Teilchenbahn"));
  RadioButton1 = White(new TRadioButton(Panel7, {184, 8, 33, 17}, "1", Bold13(), true));
  RadioButton1->setAccessibleName(QStringLiteral("Dicke der Teilchenbahn 1"));
  RadioButton2 = White(new TRadioButton(Panel7, {184, 36, 33, 17}, "2", Bold13(), false));
  RadioButton2->setAccessibleName(QStringLiteral("Dicke der Teilchenbahn 2"));

  Panel3 = new TPanel(Panel6, {8, 475, 225, 183}, kInnerPanel);
  Button1 = new TButton(Panel3, {22, 30, 187, 25}, QStringLiteral("Info"), Bold13());
  Button6 = new TButton(Panel3, {22, 80, 187, 25}, QStringLiteral("Daten"), Bold13());
  Button2 = new TButton(Panel3, {22, 132, 185, 25}, QStringLiteral("ENDE"), Bold13());
}

void TForm1::BuildViewPanel() {
  Panel8 = new TPanel(Panel2, {0, 236, 225, 137}, kInnerPanel);
  Label4 = Caption(Panel8, {72, 17}, QStringLiteral("Ansicht"));
  Button5 = new TButton(Panel8, {14, 48, 187, 25}, QStringLiteral("von der Seite"), Bold13());
  Button3 = new TButton(Panel8, {14, 88, 187, 25}, QStringLiteral("von vorne"), Bold13());
}

void TForm1::BuildSettingsBlock() {
  Panel1 = new TPanel(Panel9, {8, 10, 729, 183}, kInnerPanel);
  Panel1->setFont(DefaultFont());
  SetTextColour(Panel1, kWindowText);
  Label2 = Caption(Panel1, {24, 20}, QStringLiteral("Spulenstrom ( in A )"));
  ScrollBar7 = new TScrollBar(Panel1, Qt::Horizontal, {272, 24, 345, 12}, {0, 3000, 0, 1, 10});
  ScrollBar7->setAccessibleName(QStringLiteral("Spulenstrom in A"));
  Edit5 = new TEdit(Panel1, {632, 18, 49, 22}, Bold13());
  Edit5->setAccessibleName(QStringLiteral("Anzeige Spulenstrom in A"));
  Label10 = Caption(Panel1, {24, 60}, QStringLiteral("Beschleunigungsspannung ( in V )"));
  ScrollBar4 =
      new TScrollBar(Panel1, Qt::Horizontal, {272, 64, 345, 12}, {50, 2000, 1200, 1, 10});
  ScrollBar4->setAccessibleName(QStringLiteral("Beschleunigungsspannung in V"));
  Edit1 = new TEdit(Panel1, {632, 58, 49, 22}, Bold13());
  Edit1->setAccessibleName(QStringLiteral("Anzeige Beschleunigungsspannung in V"));
  Label1 = Caption(Panel1, {24, 120}, QStringLiteral("Ablenkspannung"));
  AblenkEin = White(new TRadioButton(Panel1, {160, 112, 49, 17}, "Ein", Bold13(), false));
  AblenkEin->setAccessibleName(QStringLiteral("Ablenkspannung ein"));
  AblenkAus = White(new TRadioButton(Panel1, {160, 136, 57, 17}, "Aus", Bold13(), true));
  AblenkAus->setAccessibleName(QStringLiteral("Ablenkspannung aus"));
  BuildDeflectionPanel();
}

void TForm1::BuildDeflectionPanel() {
  Panel11 = new TPanel(Panel1, {256, 95, 457, 81}, kInnerPanel, TPanel::Bevel::None);
  ScrollBar3 = new TScrollBar(Panel11, Qt::Horizontal, {16, 9, 161, 12}, {0, 300, 200, 1, 1});
  ScrollBar3->setAccessibleName(QStringLiteral("Amplitude der Ablenkspannung"));
  Gleichspannung = White(
      new TRadioButton(Panel11, {16, 32, 113, 17}, "Gleichspannung", Regular13(), true));
  Wechselspannung = White(
      new TRadioButton(Panel11, {16, 56, 137, 17}, "Wechselspannung", Regular13(), false));
  Image3 = new TImage(Panel11, {192, 7, 241, 50});
  Image3->setAccessibleName(QStringLiteral("Achsen der Ablenkspannung"));
  // The plot is drawn over the axes picture: the drawing area lies on top.
  PaintBox2 = new TPaintBox(Panel11, {192, 7, 241, 50});
  PaintBox2->setAccessibleName(QStringLiteral("Verlauf der Ablenkspannung"));
  PaintBox2->setAccessibleDescription(
      QStringLiteral("Rechteckspannung bei Wechselspannung, waagerechte Linie bei Gleichspannung"));
  Panel11->hide();
}

void TForm1::BuildDataPanel() {
  Panel10 = new TPanel(Panel9, {8, 10, 729, 183}, kInnerPanel);
  Image2 = new TImage(Panel10, {17, 9, 531, 165});
  Image2->setAccessibleName(QStringLiteral("Daten der Apparatur"));
  Image2->setAccessibleDescription(QStringLiteral(
      "Spule mit 2000 Windungen und 0,4 m Länge, Abstand Ablenkplatten-Schirm 0,095 m, "
      "Literaturwert e/m = 1,75882 · 10^11 C/kg"));
  Button7 = new TButton(Panel10, {584, 72, 89, 41}, QStringLiteral("Schließen"), Bold13());
  Panel10->hide();
}

void TForm1::BuildInformationPanel() {
  Image1 = new TImage(Panel4, {0, 16, 1004, 654});
  Image1->setAccessibleName(QStringLiteral("Erklärungen"));
  Image1->setAccessibleDescription(QStringLiteral(
      "Erklärung der Varek-Methode mit den Formeln bis zur spezifischen Ladung "
      "e/m = 8π²U / (B²s²)"));
  Label3 = new TLabel(Panel4, {864, 696}, QStringLiteral("Physik-Simulation"), DefaultFont(),
                      kCaption);
  Button14 = new TButton(Panel4, {432, 684, 153, 25}, QStringLiteral("Weiter"), Bold13());
}

void TForm1::SetTabOrder() {
  // Panel by panel in the order of their tab numbers: the window (ScrollBar1,
  // ScrollBar2, Panel6, Panel4, Panel9), inside Panel6 (Panel2, Panel7,
  // Panel3), inside Panel9 (Panel1, Panel10).
  QWidget* const chain[] = {
      ScrollBar1,   ScrollBar2,   Edit7,   Edit8,      CheckBox5, Button5,
      Button3,      CheckBox1,    RadioButton1, RadioButton2, Button1, Button2,
      Button6,      Button14,     ScrollBar4, Edit1,    ScrollBar7, Edit5,
      AblenkEin,    AblenkAus,    ScrollBar3, Gleichspannung, Wechselspannung, Button7,
  };
  for (std::size_t i = 1; i < std::size(chain); ++i) {
    QWidget::setTabOrder(chain[i - 1], chain[i]);
  }
}

}  // namespace varek
