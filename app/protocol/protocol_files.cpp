// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_files.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>

#include "app/protocol/protocol_plot.h"
#include "app/protocol/protocol_texts.h"

namespace varek {

namespace {

// Exported plots: 16 by 10, the PNG at twice the size a page column needs.
constexpr int PlotWidth = 800, PlotHeight = 500;
constexpr int PngScale = 2;

std::string BytesOf(const QByteArray& bytes) { return std::string(bytes.constData(), bytes.size()); }

}  // namespace

std::string PlotAsPng(std::span<const Measurement> rows) {
  QImage image(PlotWidth * PngScale, PlotHeight * PngScale, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    PaintProtocolPlot(painter, image.rect(), rows, EvaluateSeries(rows));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return BytesOf(bytes);
}

std::string PlotAsSvg(std::span<const Measurement> rows) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(PlotWidth, PlotHeight));
  svg.setViewBox(QRect(0, 0, PlotWidth, PlotHeight));
  svg.setTitle(QStringLiteral("I² über k²·U"));
  {
    QPainter painter(&svg);
    PaintProtocolPlot(painter, QRectF(0, 0, PlotWidth, PlotHeight), rows, EvaluateSeries(rows));
  }
  return BytesOf(bytes);
}

std::string ProtocolAsPdf(std::span<const Measurement> rows, const QDateTime& when) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setPageSize(QPageSize(QPageSize::A4));
  pdf.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
  pdf.setResolution(300);
  pdf.setTitle(QStringLiteral("Messprotokoll e/m"));
  pdf.setCreator(QStringLiteral("Spezifische Ladung des Elektrons - Varek-Methode"));

  QPainter painter(&pdf);
  const QRectF page(QPointF(0, 0), QSizeF(pdf.width(), pdf.height()));
  const double point = pdf.resolution() / 72.0;  // device pixels per typographic point
  auto font = [&](double points, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(static_cast<int>(points * point));
    f.setBold(bold);
    return f;
  };
  double y = 0;
  auto line = [&](const QString& text, const QFont& f, double after) {
    painter.setFont(f);
    const QRectF box = painter.boundingRect(QRectF(0, y, page.width(), page.height()),
                                            Qt::TextWordWrap, text);
    painter.drawText(box, Qt::TextWordWrap, text);
    y = box.bottom() + after * point;
  };
  line(QStringLiteral("Messprotokoll: spezifische Ladung des Elektrons"), font(15, true), 4);
  line(QStringLiteral("Datum: ") + when.toString(QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'")),
       font(10, false), 3);
  line(QStringLiteral("Spule: n = 2000 Windungen, L = 0,4 m; Ablenkplatten bis Schirm: s = 0,095 m"),
       font(9, false), 1);
  line(QStringLiteral("B = μ₀·n·I/L;  e/m = 8π²·k²·U/(B²·s²); Ausgleichsgerade I² = m·k²·U durch den "
                      "Ursprung: e/m = 8π²·L²/(μ₀²·n²·s²·m)"),
       font(9, false), 10);

  // The table: columns in proportion to their longest texts, a rule under the titles.
  const QStringList titles = ProtocolColumnTitles();
  constexpr double ColumnWeights[] = {0.6, 1, 1, 0.5, 1.2, 1.1, 2};
  double total_weight = 0;
  for (double w : ColumnWeights) total_weight += w;
  auto column_right = [&](int c) {
    double right = 0;
    for (int i = 0; i <= c; ++i) right += ColumnWeights[i];
    return right / total_weight * page.width();
  };
  // Rows shrink so that a long series still leaves room for the plot.
  const double row_height =
      std::min(15 * point, page.height() * 0.4 / static_cast<double>(rows.size() + 1));
  const double row_points = 9.5 * row_height / (15 * point);
  auto table_row = [&](const QStringList& cells, bool bold) {
    painter.setFont(font(row_points, bold));
    for (int c = 0; c < cells.size(); ++c) {
      const double left = c == 0 ? 0 : column_right(c - 1);
      painter.drawText(QRectF(left, y, column_right(c) - left - 6 * point, row_height),
                       Qt::AlignRight | Qt::AlignVCenter, cells[c]);
    }
    y += row_height;
  };
  table_row(titles, true);
  painter.setPen(QPen(Qt::black, 0.8 * point));
  painter.drawLine(QPointF(0, y), QPointF(page.width(), y));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    table_row(ProtocolCells(static_cast<int>(i) + 1, rows[i]), false);
  }
  y += 10 * point;

  const std::optional<SeriesResult> result = EvaluateSeries(rows);
  line(ProtocolResultText(result), font(11, true), 4);
  const QString warnings = ProtocolWarningText(rows);
  if (!warnings.isEmpty()) line(warnings, font(9, false), 4);
  y += 6 * point;

  // The plot takes the rest of the page, at most 16 by 10.
  const double plot_height = std::min(page.height() - y, page.width() * 10 / 16);
  if (plot_height > 0) {
    PaintProtocolPlot(painter, QRectF(0, y, plot_height * 16 / 10, plot_height), rows, result);
  }
  painter.end();
  return BytesOf(bytes);
}

}  // namespace varek
