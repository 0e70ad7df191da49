// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Messprotokoll": the panel of the main window that records focus settings
// into the shared store and shows the table, the result, the warnings and
// the plot, with the files for the lab report. Everything it shows and
// decides comes from the protocol's core (measurement/): the checks, the
// table's changes, the texts, the plot's plan. This only builds the
// controls, asks the user and draws.
//
// The store is shared with every other copy of the program: each change is
// applied to it under its lock, and a change that another copy makes shows
// here as soon as the store's folder reports it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/form_builder.h"
#include "app/toolkit/panel.h"
#include "form/protocol_place.h"
#include "measurement/protocol_session.h"
#include "measurement/protocol_store_file.h"

class QFileSystemWatcher;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;

namespace varek {

class ProtocolPlotView;
class ProtocolTableModel;
class TButton;

class ProtocolPanel : public TPanel {
  Q_OBJECT
 public:
  // The panel and its controls as the window's description states them
  // (the row "Protocol" and its children), with the panel of the readings
  // ("ProtocolReadings": the table and the plot), a second child of
  // `parent` that is shown and hidden with it. `store_path`: the shared store;
  // `reading`: the main window's state at the moment a reading is taken
  // (the order k is the panel's own).
  ProtocolPanel(QWidget* parent, std::string store_path, std::function<Reading()> reading);
  ~ProtocolPanel() override;

  // The panel's controls by their names in the description, itself and
  // the readings' panel included.
  const BuiltControls& Controls() const { return controls_; }

  // Shows or hides the readings' panel too.
  void setVisible(bool visible) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Moves both panels and their controls to their places for `place`.
  void SetPlace(form::ProtocolPlace place);
  form::ProtocolPlace Place() const { return place_; }

  const ProtocolTable& Rows() const { return session_.Rows(); }
  const ProtocolView& View() const { return session_.View(); }

  // The actions behind the buttons, without their file dialogs. Each shows
  // its outcome in the status line and returns false on a refusal or failure.
  bool Record();
  bool DeleteSelected();
  // The check box "in Auswertung" of row `row` (from 0) set to `included`.
  bool Include(int row, bool included);
  bool ClearAll();  // no question asked
  // "Rückgängig": puts back what the last deletion or clearing removed.
  bool Undo();
  bool CanUndo() const { return session_.CanUndo(); }
  // Reads and checks the file; with rows in the table, asks "Ersetzen",
  // "Anhängen" or "Abbrechen".
  bool ImportCsv(const QString& path);
  bool ExportCsv(const QString& path);
  bool SavePlotPng(const QString& path);
  bool SavePlotSvg(const QString& path);
  bool SavePdf(const QString& path);
  // The window's information or "Daten" page was closed: a reading refused
  // because of it is no longer refused.
  void CoverGone();
  // Asks first, then clears.
  void AskAndClear();
  // The store as it is now (another copy may have changed it), with the
  // changes not yet stored; those are stored now where they can be.
  void Reload();

  QSpinBox* OrderBox = nullptr;        // k, 1..4
  QSpinBox* UncertaintyBox = nullptr;  // ± ΔI in mA of the next readings, 0: not given
  TButton* RecordButton = nullptr;     // "Messwert übernehmen"
  TButton* DeleteButton = nullptr;     // "Zeile löschen"
  TButton* ClearButton = nullptr;      // "Alle löschen", asks first
  TButton* UndoButton = nullptr;       // "Rückgängig", while there is something to put back
  TButton* ImportButton = nullptr;
  TButton* ExportButton = nullptr;
  TButton* PngButton = nullptr;
  TButton* SvgButton = nullptr;
  TButton* PdfButton = nullptr;
  TPanel* Readings = nullptr;  // the table and the plot
  QTableView* Table = nullptr;
  QPlainTextEdit* ResultText = nullptr;   // result and deviation
  QPlainTextEdit* WarningText = nullptr;  // the summarised warnings
  QPlainTextEdit* StatusText = nullptr;   // the outcome of the last action
  ProtocolPlotView* Plot = nullptr;

 private:
  void BindControls();
  void AttachFileButtons();
  // Asks the action's question, then applies its change; false when
  // refused, answered "no" or not stored.
  bool Run(const ProtocolSession::Action& action);
  bool Apply(int change);
  // Stores the changes not yet stored and shows the table; `change` is the
  // one just made (0: none). False when it could not be stored.
  bool Store(int change);
  // The view in the controls, the row `selected` (an identity) selected again.
  void Show(const std::string& selected);
  // Widens the first column so that the number of the last of `rows` rows fits.
  void FitNumberColumn(int rows);
  // Breaks the last column's title onto two lines when it does not fit on one.
  void FitLastTitle();
  // The identity of the selected row, or empty.
  std::string SelectedId() const;
  void WatchStore();
  void ChooseAndRun(std::string_view dialog, std::string_view filter, const char* suffix,
                    bool (ProtocolPanel::*action)(const QString&), bool save);
  bool SaveFile(const QString& path, const std::string& bytes, std::string_view what);
  bool Report(bool ok, const QString& text);

  ProtocolStoreFile store_;
  std::function<Reading()> reading_;
  ProtocolSession session_;  // the store's table with the changes not yet stored
  TableChange unsaved_;      // changes made while the store could not be written
  bool told_not_stored_ = false;
  bool refusal_shown_ = false;  // the status line shows why a reading was refused
  BuiltControls controls_;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* reload_ = nullptr;
  QTimer* retry_ = nullptr;              // stores the unsaved changes again
  ProtocolTableModel* model_ = nullptr;  // the table's rows, read from the session's view
  QWidget* table_viewport_ = nullptr;    // watched for its size (FitLastTitle)
  form::ProtocolPlace place_ = form::ProtocolPlace::Beneath;
};

// The store in the user's data folder; the folder is made at the first save.
std::string DefaultProtocolStorePath();

}  // namespace varek
