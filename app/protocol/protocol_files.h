// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol as files for the lab report: the plot as PNG and SVG, and a
// PDF with date, apparatus, table, result, warnings and plot (the table
// goes on over as many pages as it needs). Each comes back as the file's
// bytes, for an atomic save.
#pragma once

#include <QDateTime>
#include <string>

#include "measurement/protocol_view.h"

namespace varek {

std::string PlotAsPng(const ProtocolView& view);
std::string PlotAsSvg(const ProtocolView& view);
std::string ProtocolAsPdf(const ProtocolView& view,
                          const QDateTime& when = QDateTime::currentDateTime());

}  // namespace varek
