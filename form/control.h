// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One control of the window as a row of plain values, without Qt: what the
// desktop builds its widgets from and what the browser edition gets as JSON.
//
// Positions and sizes are pixels relative to the parent's client area. A row's
// place in the table is its stacking order: later siblings lie above earlier
// ones. Fonts are given by their character height in pixels.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "model/setting_table.h"

namespace varek::form {

// SpinBox: a whole number typed or stepped within its slider's range.
// Table: rows of cells under column titles, one row selectable, scrolling
// vertically; its columns and rows come from the program at run time.
// Text: read-only text of several lines, wrapped, scrolling when it is longer
// than the control; the program writes it at run time.
// Plot: a plot drawn as vectors from the plan that the program makes for the
// control's size (measurement/plot_plan.h).
enum class Kind {
  Panel,
  Label,
  Edit,
  Button,
  CheckBox,
  RadioButton,
  ScrollBar,
  PaintBox,
  Image,
  SpinBox,
  Table,
  Text,
  Plot,
};

struct Rgb {
  int red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Font {
  int pixels = 0;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// A label's width and height are 0: it is as large as its text.
struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

// Integer position kept within minimum .. maximum; the arrows move it by the
// line step, the trough by the page step.
struct ScrollRange {
  int minimum = 0, maximum = 0, position = 0, line_step = 1, page_step = 1;
  friend bool operator==(const ScrollRange&, const ScrollRange&) = default;
};

enum class Orientation { Horizontal, Vertical };

// `format` says how the position reads in its readout and to a screen reader
// (followed by its unit there): always with a decimal comma, as
// model/setting_table.h says.
struct Slider {
  Orientation orientation = Orientation::Horizontal;
  ScrollRange range{};
  ReadoutFormat format{};
  std::string_view readout{};  // the edit field that shows the value, if any
  friend bool operator==(const Slider&, const Slider&) = default;
};

enum class Bevel { Raised, None };

// Which edition shows a control. The desktop saves its protocol as a PDF
// file; the page prints it (the browser's print dialog saves PDF files too).
// Column: the page in its column arrangement only (phones, tablets, narrow
// windows), where there is room below the controls and fingers want
// larger steps.
enum class Edition { Both, Desktop, Page, Column };

// A button that moves a scroll bar's position by `positions` (negative:
// down), once when pressed and again and again while it is held.
struct Step {
  std::string_view slider{};
  int positions = 0;
  friend bool operator==(const Step&, const Step&) = default;
};

// Where a button puts a scroll bar: the view buttons turn the apparatus to
// a fixed view.
struct Place {
  std::string_view slider{};
  int position = 0;
  friend bool operator==(const Place&, const Place&) = default;
};

struct Control {
  std::string_view name{};  // the control's name on the form: "ScrollBar7"
  Kind kind = Kind::Panel;
  std::string_view parent{};  // "Form1" for the window itself
  Bounds bounds{};
  std::string_view caption{};          // labels, buttons, check boxes, radio buttons
  std::optional<Font> font{};          // text controls; a panel's is inherited by its children
  std::optional<Rgb> text{};           // text colour; a panel's is inherited by its children
  std::optional<Rgb> fill{};           // background: panels, edit fields
  Bevel bevel = Bevel::Raised;         // panels
  std::optional<Slider> slider{};      // scroll bars and spin boxes
  std::optional<Step> step{};          // buttons that step a scroll bar
  std::array<Place, 2> places{};       // buttons that put scroll bars in place; unused: no slider
  bool checked = false;                // check boxes and radio buttons, at start
  bool visible = true;                 // at start
  std::string_view shown_while{};      // shown only while this check box or radio button is checked
  std::optional<int> tab_order{};      // place among the parent's focusable children
  std::string_view accessible_name{};  // empty: the caption
  std::string_view accessible_description{};
  bool described_by_data = false;  // described by the data page's text (form/apparatus_text.h)
  std::string_view hint{};         // tool tip
  std::string_view shortcut{};     // key sequence in portable text: "Ctrl+M"
  std::string_view picture{};      // an image's picture file (assets/)
  std::string_view names{};        // a label: the control it names on the screen
  Edition edition = Edition::Both;
  std::optional<Bounds>
      beside{};  // the protocol's rows: their place beside the form (protocol_place.h)
  friend bool operator==(const Control&, const Control&) = default;
};

// The window itself.
struct Window {
  std::string_view name{};
  std::string_view caption{};
  Bounds restored_outer{};  // outer rectangle when not maximized
  Rgb fill{};
  Font font{};
  Rgb text{};
  friend bool operator==(const Window&, const Window&) = default;
};

}  // namespace varek::form
