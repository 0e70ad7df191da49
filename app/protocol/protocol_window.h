// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Messprotokoll": the table of recorded focus settings, its evaluation, the
// plot, and the files for the lab report. Every change of the table is saved
// at once (atomically) to the store file, and the window starts from it.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "measurement/evaluation.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace varek {

class ProtocolPlotView;

// The settings of the main window that a row records.
struct ProtocolReading {
  int voltage = 0;    // V
  int current = 0;    // mA
  int amplitude = 0;  // deflection amplitude
};

class ProtocolWindow : public QWidget {
  Q_OBJECT
 public:
  // `store_path`: the file that keeps the table between runs; `reading`: the
  // main window's settings at the moment "Messwert übernehmen" is pressed.
  ProtocolWindow(QWidget* parent, std::string store_path,
                 std::function<ProtocolReading()> reading);
  ~ProtocolWindow() override;

  const std::vector<Measurement>& Rows() const { return rows_; }

  // The actions behind the buttons, without their file dialogs. Each returns
  // false after showing the German reason in the status line.
  void Record();
  void DeleteSelected();
  void ClearAll();  // no question asked
  bool ImportCsv(const QString& path);
  bool ExportCsv(const QString& path);
  bool SavePlotPng(const QString& path);
  bool SavePlotSvg(const QString& path);
  bool SavePdf(const QString& path);

  QSpinBox* OrderBox = nullptr;           // k, 1..4
  QPushButton* RecordButton = nullptr;    // "Messwert übernehmen"
  QPushButton* DeleteButton = nullptr;    // "Zeile löschen"
  QPushButton* ClearButton = nullptr;     // "Alle löschen", asks first
  QTableWidget* Table = nullptr;
  QLabel* ResultLabel = nullptr;
  QLabel* WarningLabel = nullptr;
  QLabel* StatusLabel = nullptr;
  ProtocolPlotView* Plot = nullptr;

 private:
  void BuildControls();
  QWidget* BuildFileButtons();
  void AskAndClear();
  void ChooseAndRun(const QString& caption, const QString& filter, const QString& suffix,
                    bool (ProtocolWindow::*action)(const QString&), bool save);
  void Restore();
  // The table changed: store it, then show it.
  void Changed();
  void Show();
  bool SaveFile(const QString& path, const std::string& bytes, const QString& what);
  bool Report(bool ok, const QString& success, const std::string& error);

  std::string store_path_;
  std::function<ProtocolReading()> reading_;
  std::vector<Measurement> rows_;
};

// The store file in the user's data folder; the folder is made at the first save.
std::string DefaultProtocolStorePath();

}  // namespace varek
