// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets from the window's description (form/): one widget a row, with its
// name, place, colours, font, caption, start state, accessible name and hint.
// No event is attached here.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <map>
#include <string_view>

#include "form/control.h"

namespace varek {

using BuiltControls = std::map<std::string_view, QWidget*>;

QString DescriptionText(std::string_view text);
QColor DescriptionColour(const form::Rgb& rgb);
QFont DescriptionFont(const form::Font& font);
QRect DescriptionRect(const form::Bounds& bounds);

// Builds, in the table's order (parents first, siblings bottom to top), every
// row whose parent is in `built` and that is not yet built, except the rows
// named in `skip` (and so their children), and adds them to `built`.
void BuildRows(BuiltControls& built, std::initializer_list<std::string_view> skip = {});

// The widget of the row `name`, of the member's kind. The description and
// the members are made for each other: a missing or different control is a
// defect, and the program stops with its name.
template <typename Control>
void Bind(const BuiltControls& built, Control*& member, std::string_view name) {
  const auto found = built.find(name);
  member = found == built.end() ? nullptr : qobject_cast<Control*>(found->second);
  if (member == nullptr) {
    qFatal("Form1's description has no control %.*s of its member's kind",
           static_cast<int>(name.size()), name.data());
  }
}

}  // namespace varek
