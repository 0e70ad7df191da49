// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Building TForm1's controls from the window's description: one widget a
// row, in the order of the rows (which is the stacking order), then the tab
// chain. No control event is attached yet, so none fires here.
#include "app/form1.h"
#include "app/form_builder.h"
#include "app/screen_fit.h"
#include "app/toolkit/look.h"
#include "form/form1.h"
#include "form/value_field.h"

namespace varek {

void TForm1::BuildControls() {
  const form::Window& window = form::Form1Window();
  setWindowTitle(DescriptionText(window.caption));
  SetBackgroundColour(this, DescriptionColour(window.fill));
  SetTextColour(this, DescriptionColour(window.text));
  setFont(DescriptionFont(window.font));
  setGeometry(DescriptionRect(window.restored_outer).marginsRemoved(kNominalFrame));

  // The protocol's panels build their own rows (app/protocol/protocol_panel.cpp).
  BuiltControls& built = controls_;
  built = {{window.name, this}};
  BuildRows(built, {"Protocol", "ProtocolReadings"});

#define VAREK_BIND(member) Bind(built, member, #member)
  // clang-format off
  VAREK_BIND(PaintBox1); VAREK_BIND(Panel6); VAREK_BIND(ScrollBar1); VAREK_BIND(ScrollBar2);
  VAREK_BIND(Panel9); VAREK_BIND(Panel4); VAREK_BIND(ProtocolButton); VAREK_BIND(ReadingHint);
  VAREK_BIND(ToneSwitch);
  VAREK_BIND(Panel2); VAREK_BIND(Panel5); VAREK_BIND(Label12); VAREK_BIND(Label9);
  VAREK_BIND(Label13); VAREK_BIND(Edit7); VAREK_BIND(Label15); VAREK_BIND(Label14);
  VAREK_BIND(Edit8); VAREK_BIND(Label16); VAREK_BIND(CheckBox5); VAREK_BIND(CheckBox1);
  VAREK_BIND(Panel8); VAREK_BIND(Label4); VAREK_BIND(Button5); VAREK_BIND(Button3);
  VAREK_BIND(Panel7); VAREK_BIND(Label7); VAREK_BIND(RadioButton1); VAREK_BIND(RadioButton2);
  VAREK_BIND(Panel3); VAREK_BIND(Button1); VAREK_BIND(Button6); VAREK_BIND(Button2);
  VAREK_BIND(Panel1); VAREK_BIND(Label2); VAREK_BIND(ScrollBar7); VAREK_BIND(Edit5);
  VAREK_BIND(Label10); VAREK_BIND(ScrollBar4); VAREK_BIND(Edit1); VAREK_BIND(Label1);
  VAREK_BIND(AblenkEin); VAREK_BIND(AblenkAus); VAREK_BIND(Panel11); VAREK_BIND(ScrollBar3);
  VAREK_BIND(Gleichspannung); VAREK_BIND(Wechselspannung); VAREK_BIND(Image3);
  VAREK_BIND(PaintBox2); VAREK_BIND(Panel10); VAREK_BIND(Image2); VAREK_BIND(Button7);
  VAREK_BIND(Image1); VAREK_BIND(Label3); VAREK_BIND(Button14);
  // clang-format on
#undef VAREK_BIND

  for (const form::Control& row : form::Form1Controls()) {
    if (row.slider && !row.slider->readout.empty()) {
      readouts_.push_back({qobject_cast<TScrollBar*>(built.at(row.name)),
                           qobject_cast<TEdit*>(built.at(row.slider->readout)), row.slider->format,
                           form::TypedField(*row.slider)});
    }
  }
}

void TForm1::SetTabChain() {
  const std::vector<std::string_view> chain = form::TabChain();
  for (std::size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(controls_.at(chain[i - 1]), controls_.at(chain[i]));
  }
  focus_after_information_ = controls_.at(chain.front());
}

}  // namespace varek
