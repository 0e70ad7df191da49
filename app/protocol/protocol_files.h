// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol as files for the lab report: the plot as PNG and SVG, and one
// PDF page with date, table, plot and result. Each comes back as the file's
// bytes, for an atomic save.
#pragma once

#include <QDateTime>
#include <span>
#include <string>

#include "measurement/evaluation.h"

namespace varek {

std::string PlotAsPng(std::span<const Measurement> rows);
std::string PlotAsSvg(std::span<const Measurement> rows);
std::string ProtocolAsPdf(std::span<const Measurement> rows,
                          const QDateTime& when = QDateTime::currentDateTime());

}  // namespace varek
