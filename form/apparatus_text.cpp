// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/apparatus_text.h"

#include "form/formula_markup.h"
#include "form/page_texts.h"

namespace varek::form {

namespace {

// A formula as it reads in a line of text: words and mathematics as they
// stand, a fraction "a/b", a root "√(a)".
std::string PlainText(const FormulaNode& node) {
  using K = FormulaNode::Kind;
  switch (node.kind) {
    case K::Math:
    case K::Word: return node.text;
    case K::Fraction: return PlainText(node.parts[0]) + "/" + PlainText(node.parts[1]);
    case K::Root: return "\u221A(" + PlainText(node.parts[0]) + ")";
    case K::Row: break;
  }
  std::string text;
  for (const FormulaNode& part : node.parts) text += PlainText(part);
  return text;
}

// Runs of spaces and line breaks as one space.
std::string OneSpaced(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const bool space = c == ' ' || c == '\n';
    if (!space) out += c;
    else if (!out.empty() && out.back() != ' ') out += ' ';
  }
  return out;
}

}  // namespace

std::string ApparatusText() {
  std::string text;
  for (const DataLine& line : Data().lines) {
    const std::string value = OneSpaced(PlainText(ParseFormula(line.value)));
    if (line.label.empty()) text += ", " + value;
    else text += (text.empty() ? "" : "; ") + OneSpaced(line.label) + " " + value;
  }
  return text;
}

}  // namespace varek::form
