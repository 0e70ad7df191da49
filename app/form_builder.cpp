// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_builder.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableView>
#include <algorithm>

#include "app/protocol/protocol_plot_view.h"
#include "app/toolkit/controls.h"
#include "app/toolkit/image_view.h"
#include "app/toolkit/look.h"
#include "app/toolkit/panel.h"
#include "form/apparatus_text.h"
#include "form/form1.h"

namespace varek {

namespace {

QColor Colour(const form::Rgb& rgb) { return DescriptionColour(rgb); }
QFont FontOf(const form::Font& font) { return DescriptionFont(font); }
QRect RectOf(const form::Bounds& b) { return DescriptionRect(b); }

// Font and colours of the kinds whose text Qt draws on its "base" colour
// (spin boxes, tables, texts).
template <typename Widget>
Widget* Styled(Widget* widget, const form::Control& row) {
  if (row.font) widget->setFont(FontOf(*row.font));
  QPalette palette = widget->palette();
  // Their arrows and scroll bars take the text colour too, not the panel's.
  if (row.text) {
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
      palette.setColor(role, Colour(*row.text));
    }
  }
  if (row.fill) palette.setColor(QPalette::Base, Colour(*row.fill));
  widget->setPalette(palette);
  return widget;
}

QWidget* Build(const form::Control& row, QWidget* parent) {
  const QRect bounds = RectOf(row.bounds);
  const QString caption = DescriptionText(row.caption);
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
    case form::Kind::Button: return new TButton(parent, bounds, caption, FontOf(*row.font));
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
    case form::Kind::PaintBox: return new TPaintBox(parent, bounds);
    case form::Kind::Image: return new TImage(parent, bounds);
    case form::Kind::SpinBox: {
      auto* box = Styled(new QSpinBox(parent), row);
      box->setGeometry(bounds);
      box->setRange(row.slider->range.minimum, row.slider->range.maximum);
      box->setSingleStep(row.slider->range.line_step);
      box->setValue(row.slider->range.position);
      return box;
    }
    case form::Kind::Table: {
      auto* table = Styled(new QTableView(parent), row);
      table->setGeometry(bounds);
      table->horizontalHeader()->setFont(table->font());
      table->verticalHeader()->hide();
      table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      table->setSelectionBehavior(QAbstractItemView::SelectRows);
      table->setSelectionMode(QAbstractItemView::SingleSelection);
      table->setEditTriggers(QAbstractItemView::NoEditTriggers);
      // One stop of the tab chain, as in the page: the arrows choose a row.
      table->setTabKeyNavigation(false);
      return table;
    }
    case form::Kind::Plot: {
      auto* plot = new ProtocolPlotView(parent);
      plot->setGeometry(bounds);
      return plot;
    }
    case form::Kind::Text: {
      auto* text = Styled(new QPlainTextEdit(parent), row);
      text->setGeometry(bounds);
      text->setReadOnly(true);
      text->setFrameShape(QFrame::NoFrame);
      text->setFocusPolicy(Qt::NoFocus);
      text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
      text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      text->document()->setDocumentMargin(1);
      return text;
    }
  }
  return nullptr;
}

}  // namespace

QString DescriptionText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QColor DescriptionColour(const form::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }
QFont DescriptionFont(const form::Font& font) { return PixelFont(font.pixels, font.bold); }
QRect DescriptionRect(const form::Bounds& b) { return QRect(b.left, b.top, b.width, b.height); }

void BuildRows(BuiltControls& built, std::initializer_list<std::string_view> skip) {
  for (const form::Control& row : form::Form1Controls()) {
    if (std::find(skip.begin(), skip.end(), row.name) != skip.end() || built.contains(row.name) ||
        !built.contains(row.parent) || !form::ShownIn(row, form::Edition::Desktop)) {
      continue;
    }
    QWidget* control = Build(row, built.at(row.parent));
    control->setObjectName(DescriptionText(row.name));
    if (!row.accessible_name.empty())
      control->setAccessibleName(DescriptionText(row.accessible_name));
    if (!row.accessible_description.empty()) {
      control->setAccessibleDescription(DescriptionText(row.accessible_description));
    }
    if (row.described_by_data)
      control->setAccessibleDescription(DescriptionText(form::ApparatusText()));
    if (!row.hint.empty()) control->setToolTip(DescriptionText(row.hint));
    if (!row.visible) control->hide();
    built[row.name] = control;
  }
  // Before any handler: a handler of the check box or radio button finds
  // what it shows already shown.
  for (const form::Control& row : form::Form1Controls()) {
    if (row.shown_while.empty() || !built.contains(row.name) || !built.contains(row.shown_while))
      continue;
    QObject::connect(qobject_cast<QAbstractButton*>(built.at(row.shown_while)),
                     &QAbstractButton::toggled, built.at(row.name), &QWidget::setVisible);
  }
}

}  // namespace varek
