// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Small typeset formulas for the pictures: text with italic letters and
// one-character sub- and superscripts, fractions with a bar, square roots.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <vector>

#include "form/formula_markup.h"

namespace pictures {

struct FormulaStyle {
  QFont upright;  // digits, operators, Greek letters, words
  QFont italic;   // Latin letters (the variables)
};

class Formula {
 public:
  // Latin letters italic, everything else upright; "_x" sets x as a
  // subscript, "^x" as a superscript.
  static Formula Math(const QString& markup);
  // Upright text, e.g. a word inside a formula.
  static Formula Word(const QString& text);
  static Formula Fraction(Formula numerator, Formula denominator);
  static Formula Root(Formula radicand);
  static Formula Row(std::vector<Formula> parts);
  // The formula that the markup's tree describes (form/formula_markup.h).
  static Formula From(const varek::form::FormulaNode& node);
  static Formula FromMarkup(std::string_view markup) {
    return From(varek::form::ParseFormula(markup));
  }

  double Width(const FormulaStyle& style) const;
  double Ascent(const FormulaStyle& style) const;   // above the baseline
  double Descent(const FormulaStyle& style) const;  // below the baseline
  // Draws with the left end of the baseline at `origin`.
  void Draw(QPainter& painter, const FormulaStyle& style, QPointF origin) const;

 private:
  enum class Kind { Text, Fraction, Root, Row };
  Kind kind_ = Kind::Row;
  QString text_;
  bool word_ = false;
  std::vector<Formula> parts_;

  struct Run;
  std::vector<Run> Runs(const FormulaStyle& style) const;
  double Walk(const FormulaStyle& style, QPainter* painter, QPointF origin) const;
};

}  // namespace pictures
