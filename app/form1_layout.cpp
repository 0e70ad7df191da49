// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Building TForm1's controls from the window's description: one widget a
// row, in the order of the rows (which is the stacking order), then the tab
// chain. No control event is attached yet, so none fires here.
#include <map>
#include <string_view>

#include "app/form1.h"
#include "app/toolkit/look.h"
#include "form/form1.h"

namespace varek {

namespace {
// The frame that a window manager typically adds around the client area.
const QMargins kNominalFrame(8, 30, 8, 8);

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QColor Colour(const form::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }
QFont FontOf(const form::Font& font) { return PixelFont(font.pixels, font.bold); }
QRect RectOf(const form::Bounds& b) { return QRect(b.left, b.top, b.width, b.height); }

QWidget* Build(const form::Control& row, QWidget* parent) {
  const QRect bounds = RectOf(row.bounds);
  const QString caption = Text(row.caption);
  switch (row.kind) {
    case form::Kind::Panel: {
      auto* panel = new TPanel(parent, bounds, Colour(*row.fill), row.bevel);
      if (row.font) panel->setFont(FontOf(*row.font));
      if (row.text) SetTextColour(panel, Colour(*row.text));
      return panel;
    }
    case form::Kind::Label:
      return new TLabel(parent, bounds.topLeft(), caption, FontOf(*row.font), Colour(*row.text));
    case form::Kind::Edit:
      return new TEdit(parent, bounds, FontOf(*row.font), Colour(*row.text), Colour(*row.fill));
    case form::Kind::Button:
      return new TButton(parent, bounds, caption, FontOf(*row.font));
    case form::Kind::CheckBox: {
      auto* box = new TCheckBox(parent, bounds, caption, FontOf(*row.font));
      box->setChecked(row.checked);
      SetTextColour(box, Colour(*row.text));
      return box;
    }
    case form::Kind::RadioButton: {
      auto* button = new TRadioButton(parent, bounds, caption, FontOf(*row.font), row.checked);
      SetTextColour(button, Colour(*row.text));
      return button;
    }
    case form::Kind::ScrollBar: {
      const form::Slider& slider = *row.slider;
      const Qt::Orientation orientation =
          slider.orientation == form::Orientation::Vertical ? Qt::Vertical : Qt::Horizontal;
      return new TScrollBar(parent, orientation, bounds, slider.range);
    }
    case form::Kind::PaintBox:
      return new TPaintBox(parent, bounds);
    case form::Kind::Image:
      return new TImage(parent, bounds);
  }
  return nullptr;
}

using Built = std::map<std::string_view, QWidget*>;

// The member of the control named `name`; the description and the members
// are made for each other, so a missing or different control is a defect.
template <typename Control>
void Bind(const Built& built, Control*& member, std::string_view name) {
  const auto found = built.find(name);
  member = found == built.end() ? nullptr : qobject_cast<Control*>(found->second);
  if (member == nullptr) {
    qFatal("Form1's description has no control %.*s of its member's kind",
           static_cast<int>(name.size()), name.data());
  }
}
}  // namespace

void TForm1::BuildControls() {
  const form::Window& window = form::Form1Window();
  setWindowTitle(Text(window.caption));
  SetBackgroundColour(this, Colour(window.fill));
  SetTextColour(this, Colour(window.text));
  setFont(FontOf(window.font));
  setGeometry(RectOf(window.restored_outer).marginsRemoved(kNominalFrame));

  Built built{{window.name, this}};
  for (const form::Control& row : form::Form1Controls()) {
    QWidget* control = Build(row, built.at(row.parent));
    control->setObjectName(Text(row.name));
    if (!row.accessible_name.empty()) control->setAccessibleName(Text(row.accessible_name));
    if (!row.accessible_description.empty()) {
      control->setAccessibleDescription(Text(row.accessible_description));
    }
    if (!row.hint.empty()) control->setToolTip(Text(row.hint));
    if (!row.visible) control->hide();
    built[row.name] = control;
  }

#define VAREK_BIND(member) Bind(built, member, #member)
  VAREK_BIND(PaintBox1); VAREK_BIND(Panel6); VAREK_BIND(ScrollBar1); VAREK_BIND(ScrollBar2);
  VAREK_BIND(Panel9); VAREK_BIND(Panel4); VAREK_BIND(ProtocolButton);
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
#undef VAREK_BIND

  for (const form::Control& row : form::Form1Controls()) {
    if (row.slider && !row.slider->readout.empty()) {
      readouts_.push_back({qobject_cast<TScrollBar*>(built.at(row.name)),
                           qobject_cast<TEdit*>(built.at(row.slider->readout)), row.slider->format});
    }
  }

  const std::vector<std::string_view> chain = form::TabChain();
  for (std::size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(built.at(chain[i - 1]), built.at(chain[i]));
  }
  focus_after_information_ = built.at(chain.front());
}

}  // namespace varek
