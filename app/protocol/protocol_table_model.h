// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's table for the window's table view: the rows of the
// protocol's view, read when they are drawn. A change of a table of 20,000
// rows costs no more than one of 20: nothing is made for the rows out of sight.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "measurement/protocol_view.h"

namespace varek {

class ProtocolTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // `view`: the view shown, kept by its owner for as long as this model.
  // `include`: the check box "in Auswertung" of row `row` set to `included` by the user.
  ProtocolTableModel(QObject* parent, const ProtocolView& view,
                     std::function<void(int row, bool included)> include);

  // The view changed: of the rows shown, `removed` from `first` on are
  // gone and `added` new ones stand there instead; every row may show new values.
  void Changed(int first, int removed, int added);
  // The rows show what the view holds (a check box the user clicked, which
  // did not change the table).
  void Redraw();
  // The identity of row `row`, or empty.
  std::string IdOf(int row) const;
  // The last column's title on two lines, broken after "in", or on one.
  void BreakLastTitle(bool broken);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  const ProtocolView& view_;
  int rows_ = 0;  // as the views know them: the view's rows after Changed
  bool last_title_broken_ = false;
  std::function<void(int, bool)> include_;
};

}  // namespace varek
