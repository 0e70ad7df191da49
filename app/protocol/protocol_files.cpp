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

#include "app/protocol/plot_painter.h"
#include "app/protocol/qt_text.h"
#include "form/apparatus_text.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {

constexpr int PlotWidth = static_cast<int>(ExportPlotWidth);
constexpr int PlotHeight = static_cast<int>(ExportPlotHeight);
const QColor OutlierText(170, 20, 20);

std::string BytesOf(const QByteArray& bytes) {
  return std::string(bytes.constData(), bytes.size());
}

PlotPlan ExportPlan(const ProtocolView& view) {
  return PlanPlot(view, ExportPlotWidth, ExportPlotHeight, ExportPlotTextSize);
}

}  // namespace

std::string PlotAsPng(const ProtocolView& view) {
  QImage image(PlotWidth * ExportPngScale, PlotHeight * ExportPngScale, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    PaintPlotPlan(painter, ExportPlan(view), image.rect());
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return BytesOf(bytes);
}

std::string PlotAsSvg(const ProtocolView& view) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(PlotWidth, PlotHeight));
  svg.setViewBox(QRect(0, 0, PlotWidth, PlotHeight));
  svg.setTitle(Q(protocol_caption::PlotName));
  {
    QPainter painter(&svg);
    PaintPlotPlan(painter, ExportPlan(view), QRectF(0, 0, PlotWidth, PlotHeight));
  }
  return BytesOf(bytes);
}

std::string ProtocolAsPdf(const ProtocolView& view, const QDateTime& when) {
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
  auto room_for = [&](double height) {
    if (y + height <= page.height()) return;
    pdf.newPage();
    y = 0;
  };
  auto line = [&](const QString& text, const QFont& f, double after,
                  const QColor& colour = Qt::black) {
    painter.setFont(f);
    painter.setPen(colour);
    const QRectF box =
        painter.boundingRect(QRectF(0, 0, page.width(), page.height()), Qt::TextWordWrap, text);
    room_for(box.height());
    painter.drawText(QRectF(0, y, page.width(), box.height()), Qt::TextWordWrap, text);
    y += box.height() + after * point;
  };
  line(Q(protocol_caption::PdfHeading), font(15, true), 4);
  const QDate day = when.date();
  const QTime time = when.time();
  line(Q(DateLine(day.year(), day.month(), day.day(), time.hour(), time.minute())), font(10, false),
       3);
  line(Q(form::ApparatusText()), font(9, false), 1);
  line(Q(protocol_caption::PdfMethod), font(9, false), 10);

  // The table: columns in proportion to their longest texts, a rule under
  // the titles, outliers in red; it goes on over the next pages.
  constexpr double ColumnWeights[] = {0.6, 1, 1, 0.5, 1.2, 1.1, 2};
  double total_weight = 0;
  for (double w : ColumnWeights) total_weight += w;
  auto column_right = [&](std::size_t c) {
    double right = 0;
    for (std::size_t i = 0; i <= c; ++i) right += ColumnWeights[i];
    return right / total_weight * page.width();
  };
  const double row_height = 14 * point;
  auto table_row = [&](const std::vector<std::string>& cells, bool bold, const QColor& colour) {
    room_for(row_height);
    painter.setFont(font(9.5, bold));
    painter.setPen(colour);
    for (std::size_t c = 0; c < cells.size() && c < std::size(ColumnWeights); ++c) {
      const double left = c == 0 ? 0 : column_right(c - 1);
      painter.drawText(QRectF(left, y, column_right(c) - left - 6 * point, row_height),
                       Qt::AlignRight | Qt::AlignVCenter, Q(cells[c]));
    }
    y += row_height;
  };
  table_row(view.titles, true, Qt::black);
  painter.setPen(QPen(Qt::black, 0.8 * point));
  painter.drawLine(QPointF(0, y), QPointF(page.width(), y));
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    const bool outlier = view.rows[i].outlier;
    table_row(view.Cells(i), outlier, outlier ? OutlierText : QColor(Qt::black));
  }
  y += 4 * point;
  line(Q(protocol_caption::DeflectionLegend), font(8, false), 8);

  line(Q(view.result), font(11, true), 2);
  if (!view.deviation.empty()) line(Q(view.deviation), font(10, false), 4);
  if (!view.left_out.empty()) line(Q(view.left_out), font(10, false), 4);
  for (const std::string& warning : view.warnings) line(Q(warning), font(9, false), 2, OutlierText);
  y += 6 * point;

  // The plot, 16 by 10, the width of the page or what is left of it.
  const double plot_height = page.width() * 10 / 16;
  room_for(std::min(plot_height, page.height() / 3));
  const double height = std::min(plot_height, page.height() - y);
  PaintPlotPlan(painter, ExportPlan(view), QRectF(0, y, height * 16 / 10, height));
  painter.end();
  return BytesOf(bytes);
}

}  // namespace varek
