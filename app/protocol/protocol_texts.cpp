// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_texts.h"

#include "measurement/protocol_texts.h"

namespace varek {

namespace {
QString Text(const std::string& text) { return QString::fromStdString(text); }

QStringList Texts(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << Text(text);
  return list;
}
}  // namespace

QStringList ProtocolColumnTitles() { return Texts(TableColumnTitles()); }

QStringList ProtocolCells(int number, const Measurement& row) {
  return Texts(TableRowCells(number, row));
}

QString ProtocolResultText(const std::optional<SeriesResult>& result) {
  return Text(SeriesResultText(result));
}

QString ProtocolWarningText(std::span<const Measurement> rows) {
  return Text(AmplitudeWarningText(rows));
}

}  // namespace varek
