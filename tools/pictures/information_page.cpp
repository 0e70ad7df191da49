// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The explanation page shown at start: apparatus, task, use of the program
// (left column) and the derivation of e/m (right column).
#include <QPainterPath>

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

void LeftColumn(PageColumn& c, QPainter& p, const FormulaStyle& style) {
  c.Heading(QStringLiteral("Versuchsanordnung"));
  c.Paragraph(QStringLiteral(
      "In einer evakuierten Röhre beschleunigt eine Elektronenkanone die Elektronen "
      "mit der Spannung <i>U</i>. Der Strahl läuft zwischen zwei Ablenkplatten hindurch "
      "und trifft nach der Strecke <i>s</i> (Mitte der Ablenkplatten bis Schirm) auf den "
      "Leuchtschirm. Die Röhre liegt in einer langen Spule mit <i>n</i>&nbsp;=&nbsp;2000 Windungen "
      "und der Länge <i>L</i>; der Spulenstrom <i>I</i> erzeugt in ihr ein Magnetfeld "
      "<i>B</i> parallel zur Röhrenachse."));
  c.Space(4);
  c.Heading(QStringLiteral("Aufgabe"));
  c.Paragraph(QStringLiteral(
      "Legen Sie an die Ablenkplatten eine Wechselspannung <i>U</i><sub>A</sub> "
      "(Rechteckspannung, siehe Skizze) an. Die Elektronen werden abwechselnd nach der "
      "einen und nach der anderen Seite abgelenkt: auf dem Schirm entstehen zwei "
      "Leuchtflecke. Erhöhen Sie den Spulenstrom, bis beide Leuchtflecke in der "
      "Schirmmitte zusammenfallen, und berechnen Sie dann aus <i>U</i>, <i>I</i> und den "
      "Daten der Anordnung die spezifische Ladung <i>e</i>/<i>m</i> des Elektrons."));
  SquareWaveSketch(p, c.Take(80), style);
  c.Space(4);
  c.Heading(QStringLiteral("Bedienung"));
  c.Paragraph(QStringLiteral(
      "Spulenstrom, Beschleunigungsspannung und Ablenkspannung stellen Sie mit den "
      "Schiebereglern ein. Die Schieberegler am Bild und die Knöpfe „von der Seite“ "
      "und „von vorne“ drehen die Ansicht der Anordnung. „Weiter“ öffnet den Versuch; "
      "„Info“ zeigt diese Seite wieder, „Daten“ die Daten der Anordnung."));
}

void RightColumn(PageColumn& c) {
  c.Heading(QStringLiteral("Auswertung"));
  c.Paragraph(QStringLiteral("Energie des beschleunigten Elektrons:"));
  c.FormulaLine(F::Row({F::Fraction(F::Math("1"), F::Math("2")), F::Math("·m·v² = e·U   ⇒   v = "),
                        F::Root(F::Row({F::Math("2·"), F::Fraction(F::Math("e"), F::Math("m")),
                                        F::Math("·U")}))}));
  c.Paragraph(QStringLiteral(
      "Feld der langen Spule (μ<sub>0</sub> = 4π·10<sup>−7</sup> V·s/(A·m)):"));
  c.FormulaLine(F::Row({F::Math("B = "), F::Fraction(F::Math("μ_0·n·I"), F::Math("L"))}));
  c.Paragraph(QStringLiteral(
      "Die Ablenkplatten geben dem Elektron eine Geschwindigkeit <i>v</i><sub>⊥</sub> "
      "quer zur Achse. Senkrecht zur Achse beschreibt es im Feld <i>B</i> einen Kreis "
      "mit dem Radius&nbsp;<i>r</i>; die Lorentzkraft ist die Zentripetalkraft:"));
  c.FormulaLine(F::Row({F::Math("e·v_⊥·B = "), F::Fraction(F::Math("m·v_⊥^2"), F::Math("r")),
                        F::Math("   ⇒   T = "), F::Fraction(F::Math("2π·r"), F::Math("v_⊥")),
                        F::Math(" = "), F::Fraction(F::Math("2π·m"), F::Math("e·B"))}));
  c.Paragraph(QStringLiteral(
      "Die Umlaufzeit <i>T</i> hängt nicht von <i>v</i><sub>⊥</sub> ab. Längs der Achse "
      "fliegt das Elektron gleichförmig mit <i>v</i>: seine Bahn ist eine Schraubenlinie, "
      "die nach jeder Umlaufzeit <i>T</i> wieder die Achse erreicht."));
  c.Paragraph(QStringLiteral(
      "Fokussierung: Beide Leuchtflecke fallen in der Schirmmitte zusammen, wenn die "
      "Flugzeit <i>t</i>&nbsp;=&nbsp;<i>s</i>/<i>v</i> von den Ablenkplatten bis zum Schirm gleich "
      "<i>T</i> ist:"));
  c.FormulaLine(F::Row({F::Fraction(F::Math("s"), F::Math("v")), F::Math(" = "),
                        F::Fraction(F::Math("2π·m"), F::Math("e·B")), F::Math("   ⇒   "),
                        F::Fraction(F::Math("e"), F::Math("m")), F::Math(" = "),
                        F::Fraction(F::Math("2π·v"), F::Math("B·s"))}));
  c.Paragraph(QStringLiteral(
      "Quadrieren und Einsetzen von <i>v</i>²&nbsp;=&nbsp;2·(<i>e</i>/<i>m</i>)·<i>U</i> ergibt:"));
  c.FormulaLine(F::Row({F::Fraction(F::Math("e"), F::Math("m")), F::Math(" = "),
                        F::Fraction(F::Math("8π²·U"), F::Math("B²·s²"))}),
                true);
}

}  // namespace

QImage PaintInformationPage() {
  QImage image = WhitePage(kWidth, kHeight);
  QPainter p(&image);
  SetUpPainter(p);

  p.setFont(SansFont(23, true));
  p.drawText(QPointF(kMargin, 36),
             QStringLiteral("Bestimmung der spezifischen Ladung e/m des Elektrons"));
  p.setFont(SansFont(16));
  p.drawText(QPointF(kMargin, 58), QStringLiteral("Methode der magnetischen Fokussierung"));
  p.fillRect(QRectF(kMargin, 67, kWidth - 2 * kMargin, 2), Qt::black);

  const FormulaStyle style{SansFont(17), SansFont(17, false, true)};
  const double width = (kWidth - 2 * kMargin - kColumnGap) / 2;
  const double top = 78;
  const double height = kHeight - top - kBottomMargin;
  PageColumn left(p, QRectF(kMargin, top, width, height), style);
  LeftColumn(left, p, style);
  PageColumn right(p, QRectF(kMargin + width + kColumnGap, top, width, height), style);
  RightColumn(right);
  p.fillRect(QRectF(kMargin + width + kColumnGap / 2 - 0.5, top, 1, height), QColor(160, 160, 160));
  if (left.Bottom() > kHeight - kBottomMargin || right.Bottom() > kHeight - kBottomMargin) {
    qWarning("information page: text runs past the bottom (%.0f, %.0f)", left.Bottom(), right.Bottom());
  }
  return image;
}

}  // namespace pictures
