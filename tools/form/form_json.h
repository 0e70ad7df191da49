// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's description as JSON (UTF-8), for the browser edition:
//
// {"window": {"name", "caption", "restoredOuter": {left, top, width, height},
//             "fill": "#rrggbb", "font": {"pixels", "bold"}, "text": "#rrggbb"},
//  "controls": [ one object a control, parents before children, siblings from
//                bottom to top ],
//  "settings": [ a row a setting ], "keyRules": { the scroll bars' keys },
//  "tabChain": [ the focusable controls' names in the order Tab visits them ],
//  "keys": {"title", "rows": [{"keys", "action"}, ...] (the list F1 shows),
//           "radioGroups": {panel: the name of its radio buttons' group}},
//  "apparatus": the data page's lines as one line of text (form/apparatus_text.h),
//  "protocolLoad": {"afterMs", "idleAtMostMs"}: when the page fetches the
//           protocol's core (form1.h),
//  "texts": {"Image1": the explanation page, "Image2": the data page}: the
//           texts of these pictures as HTML with MathML formulas (page_html.h)}
//
// A control: "name", "kind" (panel, label, edit, button, checkBox,
// radioButton, scrollBar, paintBox, image, spinBox, table, text, plot: see
// form/control.h), "parent", "left", "top", "width",
// "height" (0 x 0 for a label: as large as its text), "visible" (at start),
// "shownWhile" (shown only while that check box or radio button is checked),
// and where they apply: "caption", "font" {"pixels", "bold"}, "text" and
// "fill" ("#rrggbb"), "bevel" (panels: "raised" or "none"), "checked",
// "tabOrder" (among the parent's focusable children), "accessibleName",
// "accessibleDescription", "describedByData" (true: described by the data
// page's text, which the page holds beside the picture), "hint",
// "shortcut" ("Ctrl+M"), "picture" (a file of assets/), "edition" ("desktop", "page" or "column": only the page's
// column arrangement; none: both editions), "step" {"slider", "positions"}
// (a button that moves that scroll bar's position by so much, repeating
// while held), "places" [{"slider", "position"}, ...] (a button that puts
// those scroll bars at those positions: the view buttons), and for scroll bars and spin boxes "slider": {"orientation",
// "minimum", "maximum", "position", "lineStep", "pageStep", "coarseStep"
// (Ctrl with a page key), "decimals" and "negated" (the shown value is the
// position, negated where "negated", divided by 10^decimals), "unit",
// "readout" (the edit field showing the value), and for scroll bars "texts"
// (the readout's text at each position from minimum to maximum, as the
// desktop shows it: ReadoutText in model/setting_table.h)}.
//
// "settings": the table of the settings, a row each in its order: "name" (the
// link parameter), "choice", "lowest", "highest", "start", "yes" and "no" (a
// choice's words), "controls" (what holds it), "stage" ("paths" or "view").
// "keyRules": {"desktop": [...], "page": [...]}, each rule {"key" (the DOM
// key name), "direction" (1 or -1), "measure" (line, page, end), "reference"
// (position, value, thumb)}.
#pragma once

#include <string>

namespace varek::form {

std::string Form1Json();

}  // namespace varek::form
