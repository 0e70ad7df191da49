// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Formulas of the explanation and data pages in a small markup, read into a
// tree that the picture painter and the page's MathML are made from:
//
//   \frac{numerator}{denominator}   a fraction with a bar
//   \sqrt{radicand}                 a square root
//   \text{words}                    upright text, spaces kept
//   anything else                   mathematics: Latin letters are variables
//                                   (italic), "_x" and "^x" set the one
//                                   character x as a subscript or superscript
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varek::form {

struct FormulaNode {
  enum class Kind { Math, Word, Fraction, Root, Row };
  Kind kind = Kind::Row;
  std::string text;                // Math and Word
  std::vector<FormulaNode> parts;  // Fraction: numerator, denominator; Root: radicand; Row
  friend bool operator==(const FormulaNode&, const FormulaNode&) = default;
};

// Always a Row at the top. The argument of \frac or \sqrt is its one part
// itself, or a Row of its parts. An unclosed brace ends at the end of the text.
FormulaNode ParseFormula(std::string_view markup);

}  // namespace varek::form
