// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A column of a text page, filled from top to bottom: headings, paragraphs
// (simple HTML: <i>, <sub>, <sup>) and centred formula lines.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QString>

#include "formula.h"

namespace pictures {

class PageColumn {
 public:
  PageColumn(QPainter& painter, QRectF area, const FormulaStyle& formulas);

  void Heading(const QString& text);
  void Paragraph(const QString& html);
  // A formula centred in the column; `framed` draws a box around it.
  void FormulaLine(const Formula& formula, bool framed = false);
  void Space(double pixels) { y_ += pixels; }
  // Reserves `height` pixels and returns their rectangle.
  QRectF Take(double height);

  double Bottom() const { return y_; }  // the first unused row
  const QRectF& Area() const { return area_; }

 private:
  QPainter& painter_;
  QRectF area_;
  const FormulaStyle& formulas_;
  double y_;
};

}  // namespace pictures
