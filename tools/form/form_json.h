// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's description as JSON (UTF-8), for the browser edition:
//
// {"window": {"name", "caption", "restoredOuter": {left, top, width, height},
//             "fill": "#rrggbb", "font": {"pixels", "bold"}, "text": "#rrggbb"},
//  "controls": [ one object a control, parents before children, siblings from
//                bottom to top ],
//  "tabChain": [ the focusable controls' names in the order Tab visits them ],
//  "keys": {"title", "rows": [{"keys", "action"}, ...] (the list F1 shows),
//           "radioGroups": {panel: the name of its radio buttons' group}},
//  "texts": {"Image1": the explanation page, "Image2": the data page}: the
//           texts of these pictures as HTML with MathML formulas (page_html.h)}
//
// A control: "name", "kind" (panel, label, edit, button, checkBox,
// radioButton, scrollBar, paintBox, image, spinBox, table, text, plot: see
// form/control.h), "parent", "left", "top", "width",
// "height" (0 x 0 for a label: as large as its text), "visible" (at start),
// and where they apply: "caption", "font" {"pixels", "bold"}, "text" and
// "fill" ("#rrggbb"), "bevel" (panels: "raised" or "none"), "checked",
// "tabOrder" (among the parent's focusable children), "accessibleName",
// "accessibleDescription", "hint", "shortcut" ("Ctrl+M"), "picture" (a file
// of assets/), and for scroll bars and spin boxes "slider": {"orientation", "minimum",
// "maximum", "position", "lineStep", "pageStep", "coarseStep" (Ctrl with a page key), "perUnit" (positions per unit
// of the typed value: 1000 for thousandths), "format" (integer,
// negatedInteger or thousandths: position / 1000 with a decimal comma, no
// trailing zeros), "unit", "readout" (the edit field showing the value)}.
#pragma once

#include <string>

namespace varek::form {

std::string Form1Json();

}  // namespace varek::form
