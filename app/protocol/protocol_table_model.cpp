// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_table_model.h"

#include <QColor>

#include "app/protocol/qt_text.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {
const QColor kOutlierRow(255, 215, 215);
}  // namespace

ProtocolTableModel::ProtocolTableModel(QObject* parent, const ProtocolView& view,
                                       std::function<void(int row, bool included)> include)
    : QAbstractTableModel(parent),
      view_(view),
      rows_(static_cast<int>(view.rows.size())),
      include_(std::move(include)) {}

void ProtocolTableModel::Changed(int first, int removed, int added) {
  if (removed > 0) {
    beginRemoveRows({}, first, first + removed - 1);
    rows_ -= removed;
    endRemoveRows();
  }
  if (added > 0) {
    beginInsertRows({}, first, first + added - 1);
    rows_ += added;
    endInsertRows();
  }
  Redraw();
}

void ProtocolTableModel::Redraw() {
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

std::string ProtocolTableModel::IdOf(int row) const {
  if (row < 0 || row >= static_cast<int>(view_.rows.size())) return {};
  return view_.rows[static_cast<std::size_t>(row)].id;
}

int ProtocolTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ProtocolTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(view_.titles.size());
}

QVariant ProtocolTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(view_.rows.size()) ||
      index.column() >= columnCount())
    return {};
  const ProtocolViewRow& row = view_.rows[static_cast<std::size_t>(index.row())];
  const bool first = index.column() == 0;
  switch (role) {
    case Qt::DisplayRole:
      return Q(view_.Cells(
          static_cast<std::size_t>(index.row()))[static_cast<std::size_t>(index.column())]);
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole: return row.outlier ? QVariant(kOutlierRow) : QVariant();
    case Qt::ToolTipRole:
      if (first) return Q(protocol_caption::InclusionHint);
      return row.outlier ? QVariant(Q(protocol_caption::OutlierHint)) : QVariant();
    case Qt::CheckStateRole:
      return first ? QVariant(row.included ? Qt::Checked : Qt::Unchecked) : QVariant();
    default: return {};
  }
}

QVariant ProtocolTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= columnCount())
    return QAbstractTableModel::headerData(section, orientation, role);
  QString title = Q(view_.titles[static_cast<std::size_t>(section)]);
  if (last_title_broken_ && section == columnCount() - 1) {
    const qsizetype unit = title.indexOf(QStringLiteral(" in ")) + 3;
    if (unit > 2) title[unit] = u'\n';
  }
  return title;
}

void ProtocolTableModel::BreakLastTitle(bool broken) {
  if (broken == last_title_broken_) return;
  last_title_broken_ = broken;
  emit headerDataChanged(Qt::Horizontal, columnCount() - 1, columnCount() - 1);
}

Qt::ItemFlags ProtocolTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool ProtocolTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != 0 || index.row() >= rowCount()) return false;
  include_(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
  return true;
}

}  // namespace varek
