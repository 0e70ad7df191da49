// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The data page: the constants of the apparatus and the literature value.
#include <QPainter>

#include "formula.h"
#include "pages.h"

namespace pictures {

QImage PaintDataPage() {
  QImage image = WhitePage(531, 176);
  QPainter p(&image);
  SetUpPainter(p);

  p.setFont(SansFont(20, true));
  p.drawText(QPointF(16, 28), QStringLiteral("Daten der Versuchsanordnung"));
  p.fillRect(QRectF(16, 38, 499, 2), Qt::black);

  // The window shows only rows 0..164: the last line ends above row 160.
  const QFont label = SansFont(15, true);
  const FormulaStyle values{SansFont(15), SansFont(15, false, true)};
  constexpr double kLabelX = 16;
  constexpr double kValueX = 240;
  struct Line {
    double baseline;
    const char* label;
    Formula value;
  };
  using F = Formula;
  const Line lines[] = {
      {64, "Spule:", F::Row({F::Word("Windungszahl  "), F::Math("n = 2000")})},
      {86, "", F::Row({F::Word("Länge  "), F::Math("L = 0,4"), F::Word(" m")})},
      {114, "Abstand Mitte der", F::Row({F::Math("s = 0,095"), F::Word(" m")})},
      {132, "Ablenkplatten – Schirm:", F::Row({})},
      {158, "Literaturwert:", F::Row({F::Math("e/m"), F::Word(" = 1,75882 · 10"),
                                      F::Word("\u00b9\u00b9 C/kg")})},
  };
  for (const Line& line : lines) {
    p.setFont(label);
    p.drawText(QPointF(kLabelX, line.baseline), QString::fromUtf8(line.label));
    line.value.Draw(p, values, QPointF(kValueX, line.baseline));
  }
  return image;
}

}  // namespace pictures
