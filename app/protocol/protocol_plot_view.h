// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The plot as a widget of the protocol window.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "measurement/evaluation.h"

namespace varek {

class ProtocolPlotView : public QWidget {
  Q_OBJECT
 public:
  explicit ProtocolPlotView(QWidget* parent);
  void SetSeries(std::vector<Measurement> rows, std::optional<SeriesResult> result);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<Measurement> rows_;
  std::optional<SeriesResult> result_;
};

}  // namespace varek
