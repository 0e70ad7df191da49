// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The explanation page shown at start: apparatus, task, use of the program
// (left column) and the derivation of e/m (right column).
#include <QPainterPath>

#include <span>
#include <string_view>

#include "form/page_texts.h"
#include "page_column.h"
#include "pages.h"

namespace pictures {
namespace {

constexpr int kWidth = 1004;
constexpr int kHeight = 654;
constexpr double kMargin = 26;
constexpr double kBottomMargin = 16;
constexpr double kColumnGap = 36;

using F = Formula;

void Arrow(QPainter& p, QPointF from, QPointF to) {
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::hypot((to - from).x(), (to - from).y());
  const QPointF n(-d.y(), d.x());
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(to - 9 * d + 4 * n);
  head.lineTo(to - 9 * d - 4 * n);
  head.closeSubpath();
  p.fillPath(head, Qt::black);
}

// A square-wave voltage U_A over the time t, three periods.
void SquareWaveSketch(QPainter& p, QRectF area, const FormulaStyle& style) {
  const double left = area.left() + 40;
  const double right = area.right() - 50;
  const double zero = area.center().y();
  const double top = area.top() + 6;
  const double bottom = area.bottom() - 6;
  const double amplitude = (bottom - top) / 2 - 16;
  p.save();
  p.setPen(QPen(Qt::black, 1.5));
  Arrow(p, QPointF(left, bottom), QPointF(left, top));
  Arrow(p, QPointF(left, zero), QPointF(right + 30, zero));
  F::Math("U_A").Draw(p, style, QPointF(left - 36, top + 14));
  F::Math("t").Draw(p, style, QPointF(right + 20, zero + 22));

  p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  const double half = (right - left) / 6;
  QPainterPath wave;
  wave.moveTo(left, zero - amplitude);
  for (int k = 0; k < 6; ++k) {
    const double level = (k % 2 == 0) ? zero - amplitude : zero + amplitude;
    const double next = (k % 2 == 0) ? zero + amplitude : zero - amplitude;
    const double x = left + (k + 1) * half;
    wave.lineTo(x, level);
    if (k < 5) wave.lineTo(x, next);
  }
  p.drawPath(wave);
  p.restore();
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A column's blocks from the top, a little air above every heading but the first.
void FillColumn(PageColumn& c, QPainter& p, const FormulaStyle& style,
                std::span<const varek::form::TextBlock> blocks) {
  using K = varek::form::TextBlock::Kind;
  bool first = true;
  for (const varek::form::TextBlock& block : blocks) {
    switch (block.kind) {
      case K::Heading:
        if (!first) c.Space(4);
        c.Heading(Text(block.text));
        break;
      case K::Paragraph: c.Paragraph(Text(block.text)); break;
      case K::Formula: c.FormulaLine(F::FromMarkup(block.text)); break;
      case K::FramedFormula: c.FormulaLine(F::FromMarkup(block.text), true); break;
      case K::Sketch: SquareWaveSketch(p, c.Take(80), style); break;
      case K::Title:
      case K::Subtitle: break;  // the page's head, above the columns
    }
    first = false;
  }
}

}  // namespace

QImage PaintInformationPage(double scale) {
  QImage image = WhitePage(kWidth, kHeight, scale);
  QPainter p(&image);
  SetUpPainter(p, scale);

  const varek::form::InformationText& text = varek::form::Information();
  for (const varek::form::TextBlock& line : text.head) {
    const bool title = line.kind == varek::form::TextBlock::Kind::Title;
    p.setFont(title ? SansFont(23, true) : SansFont(16));
    p.drawText(QPointF(kMargin, title ? 36 : 58), Text(line.text));
  }
  p.fillRect(QRectF(kMargin, 67, kWidth - 2 * kMargin, 2), Qt::black);

  const FormulaStyle style{SansFont(17), SansFont(17, false, true)};
  const double width = (kWidth - 2 * kMargin - kColumnGap) / 2;
  const double top = 78;
  const double height = kHeight - top - kBottomMargin;
  PageColumn left(p, QRectF(kMargin, top, width, height), style);
  FillColumn(left, p, style, text.left);
  PageColumn right(p, QRectF(kMargin + width + kColumnGap, top, width, height), style);
  FillColumn(right, p, style, text.right);
  p.fillRect(QRectF(kMargin + width + kColumnGap / 2 - 0.5, top, 1, height), QColor(160, 160, 160));
  if (left.Bottom() > kHeight - kBottomMargin || right.Bottom() > kHeight - kBottomMargin) {
    qWarning("information page: text runs past the bottom (%.0f, %.0f)", left.Bottom(),
             right.Bottom());
  }
  return image;
}

}  // namespace pictures
