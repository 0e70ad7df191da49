// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "formula.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace pictures {
namespace {

constexpr double kScriptScale = 0.7;     // size of sub- and superscripts
constexpr double kSubscriptDrop = 0.22;  // in em, below the baseline
constexpr double kSuperscriptRise = 0.42;
constexpr double kFractionGap = 2.0;  // pixels between bar and numerator/denominator
constexpr double kFractionPad = 2.0;  // bar overhang on each side

QFont Scaled(QFont font, double scale) {
  font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * scale)));
  return font;
}

double Em(const FormulaStyle& style) { return style.upright.pixelSize(); }

// Height of the fraction bar above the baseline: the middle of a minus sign.
double AxisHeight(const FormulaStyle& style) {
  return QFontMetricsF(style.upright).xHeight() * 0.55;
}

double BarThickness(const FormulaStyle& style) { return std::max(1.0, Em(style) / 16.0); }

bool IsLatinLetter(QChar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

struct Formula::Run {
  QString text;
  QFont font;
  double shift;  // downwards from the baseline
  bool stacked;  // a superscript drawn above the subscript just before it
};

Formula Formula::Math(const QString& markup) {
  Formula f;
  f.kind_ = Kind::Text;
  f.text_ = markup;
  return f;
}

Formula Formula::Word(const QString& text) {
  Formula f = Math(text);
  f.word_ = true;
  return f;
}

Formula Formula::Fraction(Formula numerator, Formula denominator) {
  Formula f;
  f.kind_ = Kind::Fraction;
  f.parts_ = {std::move(numerator), std::move(denominator)};
  return f;
}

Formula Formula::Root(Formula radicand) {
  Formula f;
  f.kind_ = Kind::Root;
  f.parts_ = {std::move(radicand)};
  return f;
}

Formula Formula::Row(std::vector<Formula> parts) {
  Formula f;
  f.kind_ = Kind::Row;
  f.parts_ = std::move(parts);
  return f;
}

Formula Formula::From(const varek::form::FormulaNode& node) {
  using K = varek::form::FormulaNode::Kind;
  const QString text =
      QString::fromUtf8(node.text.data(), static_cast<qsizetype>(node.text.size()));
  std::vector<Formula> parts;
  for (const varek::form::FormulaNode& part : node.parts) parts.push_back(From(part));
  switch (node.kind) {
    case K::Math: return Math(text);
    case K::Word: return Word(text);
    case K::Fraction: return Fraction(std::move(parts[0]), std::move(parts[1]));
    case K::Root: return Root(std::move(parts[0]));
    case K::Row: break;
  }
  return Row(std::move(parts));
}

std::vector<Formula::Run> Formula::Runs(const FormulaStyle& style) const {
  std::vector<Run> runs;
  const double em = Em(style);
  for (int i = 0; i < text_.size(); ++i) {
    QChar c = text_[i];
    double shift = 0;
    double scale = 1;
    if (!word_ && (c == '_' || c == '^') && i + 1 < text_.size()) {
      shift = c == '_' ? kSubscriptDrop * em : -kSuperscriptRise * em;
      scale = kScriptScale;
      c = text_[++i];
    }
    const QFont& base = (!word_ && IsLatinLetter(c)) ? style.italic : style.upright;
    QFont font = scale == 1 ? base : Scaled(base, scale);
    if (!runs.empty() && runs.back().font == font && runs.back().shift == shift) {
      runs.back().text += c;
    } else {
      const bool stacked = shift < 0 && !runs.empty() && runs.back().shift > 0;
      runs.push_back({QString(c), font, shift, stacked});
    }
  }
  return runs;
}

// Lays the formula out from `origin`, drawing if a painter is given, and
// returns its width.
double Formula::Walk(const FormulaStyle& style, QPainter* painter, QPointF origin) const {
  switch (kind_) {
    case Kind::Text: {
      double x = origin.x();
      double previous_start = x;
      for (const Run& run : Runs(style)) {
        const double start = run.stacked ? previous_start : x;
        if (painter != nullptr) {
          painter->setFont(run.font);
          painter->drawText(QPointF(start, origin.y() + run.shift), run.text);
        }
        x = std::max(x, start + QFontMetricsF(run.font).horizontalAdvance(run.text));
        previous_start = start;
      }
      return x - origin.x();
    }
    case Kind::Row: {
      double x = origin.x();
      for (const Formula& part : parts_) x += part.Walk(style, painter, QPointF(x, origin.y()));
      return x - origin.x();
    }
    case Kind::Fraction: {
      const Formula& num = parts_[0];
      const Formula& den = parts_[1];
      const double inner = std::max(num.Width(style), den.Width(style));
      const double width = inner + 2 * kFractionPad;
      if (painter != nullptr) {
        const double bar = BarThickness(style);
        const double axis = origin.y() - AxisHeight(style);
        num.Draw(*painter, style,
                 QPointF(origin.x() + (width - num.Width(style)) / 2,
                         axis - bar / 2 - kFractionGap - num.Descent(style)));
        den.Draw(*painter, style,
                 QPointF(origin.x() + (width - den.Width(style)) / 2,
                         axis + bar / 2 + kFractionGap + den.Ascent(style)));
        painter->fillRect(QRectF(origin.x(), axis - bar / 2, width, bar), painter->pen().color());
      }
      return width + 2;  // a little air to the following symbol
    }
    case Kind::Root: {
      const Formula& body = parts_[0];
      const double em = Em(style);
      const double sign = 0.55 * em;
      const double width = sign + body.Width(style) + 0.15 * em;
      if (painter != nullptr) {
        const double top = origin.y() - body.Ascent(style) - 2;
        const double bottom = origin.y() + body.Descent(style);
        const double x = origin.x();
        QPainterPath path;
        path.moveTo(x, bottom - 0.45 * (bottom - top));
        path.lineTo(x + 0.15 * em, bottom - 0.55 * (bottom - top));
        path.lineTo(x + 0.3 * em, bottom);
        path.lineTo(x + sign - 0.05 * em, top);
        path.lineTo(x + width, top);
        QPen pen = painter->pen();
        pen.setWidthF(BarThickness(style));
        painter->save();
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(path);
        painter->restore();
        body.Draw(*painter, style, QPointF(x + sign, origin.y()));
      }
      return width + 2;
    }
  }
  return 0;
}

double Formula::Width(const FormulaStyle& style) const { return Walk(style, nullptr, QPointF()); }

double Formula::Ascent(const FormulaStyle& style) const {
  switch (kind_) {
    case Kind::Text: {
      double a = 0;
      for (const Run& run : Runs(style))
        a = std::max(a, QFontMetricsF(run.font).capHeight() - run.shift);
      return a;
    }
    case Kind::Row: {
      double a = 0;
      for (const Formula& part : parts_) a = std::max(a, part.Ascent(style));
      return a;
    }
    case Kind::Fraction:
      return AxisHeight(style) + BarThickness(style) / 2 + kFractionGap + parts_[0].Ascent(style) +
             parts_[0].Descent(style);
    case Kind::Root: return parts_[0].Ascent(style) + 2 + BarThickness(style);
  }
  return 0;
}

double Formula::Descent(const FormulaStyle& style) const {
  switch (kind_) {
    case Kind::Text: {
      double d = 0;
      for (const Run& run : Runs(style))
        d = std::max(d, QFontMetricsF(run.font).descent() * 0.8 + run.shift);
      return d;
    }
    case Kind::Row: {
      double d = 0;
      for (const Formula& part : parts_) d = std::max(d, part.Descent(style));
      return d;
    }
    case Kind::Fraction:
      return -AxisHeight(style) + BarThickness(style) / 2 + kFractionGap + parts_[1].Ascent(style) +
             parts_[1].Descent(style);
    case Kind::Root: return parts_[0].Descent(style) + 1;
  }
  return 0;
}

void Formula::Draw(QPainter& painter, const FormulaStyle& style, QPointF origin) const {
  Walk(style, &painter, origin);
}

}  // namespace pictures
