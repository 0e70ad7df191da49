// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The data page: the constants of the apparatus and the literature value.
#include <QPainter>

#include <iterator>

#include "form/page_texts.h"
#include "formula.h"
#include "pages.h"

namespace pictures {

QImage PaintDataPage(double scale) {
  QImage image = WhitePage(531, 176, scale);
  QPainter p(&image);
  SetUpPainter(p, scale);

  const varek::form::DataText& data = varek::form::Data();
  p.setFont(SansFont(20, true));
  p.drawText(QPointF(16, 28),
             QString::fromUtf8(data.heading.data(), static_cast<qsizetype>(data.heading.size())));
  p.fillRect(QRectF(16, 38, 499, 2), Qt::black);

  // The window shows only rows 0..164: the last line ends above row 160.
  const QFont label = SansFont(15, true);
  const FormulaStyle values{SansFont(15), SansFont(15, false, true)};
  constexpr double kLabelX = 16;
  constexpr double kValueX = 240;
  // Baselines of the lines; a label's second line lies kLabelLeading lower.
  constexpr double kBaselines[] = {64, 86, 114, 158};
  constexpr double kLabelLeading = 18;
  for (std::size_t i = 0; i < data.lines.size() && i < std::size(kBaselines); ++i) {
    const varek::form::DataLine& line = data.lines[i];
    double baseline = kBaselines[i];
    p.setFont(label);
    const QStringList label_lines =
        QString::fromUtf8(line.label.data(), static_cast<qsizetype>(line.label.size())).split('\n');
    for (const QString& text : label_lines) {
      p.drawText(QPointF(kLabelX, baseline), text);
      baseline += kLabelLeading;
    }
    Formula::FromMarkup(line.value).Draw(p, values, QPointF(kValueX, kBaselines[i]));
  }
  return image;
}

}  // namespace pictures
