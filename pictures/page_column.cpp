// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_column.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextDocument>

#include "pages.h"

namespace pictures {
namespace {

constexpr int kBodyPixels = 15;
constexpr int kHeadingPixels = 17;
constexpr double kParagraphGap = 4;
constexpr double kFormulaGap = 3;  // above and below a formula line
constexpr double kFramePad = 7;    // between a framed formula and its frame

}  // namespace

PageColumn::PageColumn(QPainter& painter, QRectF area, const FormulaStyle& formulas)
    : painter_(painter), area_(area), formulas_(formulas), y_(area.top()) {}

void PageColumn::Heading(const QString& text) {
  const QFont font = SansFont(kHeadingPixels, true);
  const QFontMetricsF metrics(font);
  painter_.setFont(font);
  painter_.drawText(QPointF(area_.left(), y_ + metrics.ascent()), text);
  y_ += metrics.height() + 3;
}

void PageColumn::Paragraph(const QString& html) {
  QTextDocument document;
  document.setDefaultFont(SansFont(kBodyPixels));
  document.setDocumentMargin(0);
  document.setTextWidth(area_.width());
  document.setHtml(html);
  painter_.save();
  painter_.translate(area_.left(), y_);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, Qt::black);
  document.documentLayout()->draw(&painter_, context);
  painter_.restore();
  y_ += document.size().height() + kParagraphGap;
}

void PageColumn::FormulaLine(const Formula& formula, bool framed) {
  const double width = formula.Width(formulas_);
  const double ascent = formula.Ascent(formulas_);
  const double descent = formula.Descent(formulas_);
  const double pad = framed ? kFramePad : 0;
  y_ += kFormulaGap + pad;
  const double left = area_.left() + (area_.width() - width) / 2;
  formula.Draw(painter_, formulas_, QPointF(left, y_ + ascent));
  if (framed) {
    painter_.save();
    painter_.setPen(QPen(Qt::black, 2));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(
        QRectF(left - pad - 4, y_ - pad, width + 2 * pad + 8, ascent + descent + 2 * pad));
    painter_.restore();
  }
  y_ += ascent + descent + pad + kFormulaGap;
}

QRectF PageColumn::Take(double height) {
  QRectF rect(area_.left(), y_, area_.width(), height);
  y_ += height;
  return rect;
}

}  // namespace pictures
