// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>

#include "app/protocol/protocol_files.h"
#include "app/protocol/protocol_plot_view.h"
#include "app/protocol/protocol_texts.h"
#include "measurement/atomic_file.h"
#include "measurement/constants.h"
#include "measurement/protocol_csv.h"

namespace varek {

namespace {
const QString WindowTitle = QStringLiteral("Messprotokoll");
}  // namespace

std::string DefaultProtocolStorePath() {
  return (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
          QStringLiteral("/messprotokoll.csv"))
      .toStdString();
}

ProtocolWindow::ProtocolWindow(QWidget* parent, std::string store_path,
                               std::function<ProtocolReading()> reading)
    : QWidget(parent, Qt::Window), store_path_(std::move(store_path)), reading_(std::move(reading)) {
  setWindowTitle(WindowTitle);
  BuildControls();
  resize(1000, 640);
  Restore();
  Show();
}

ProtocolWindow::~ProtocolWindow() = default;

void ProtocolWindow::BuildControls() {
  auto* order_label = new QLabel(QStringLiteral("Fokusordnung k:"));
  OrderBox = new QSpinBox;
  OrderBox->setRange(1, 4);
  OrderBox->setValue(1);
  OrderBox->setAccessibleName(QStringLiteral("Fokusordnung k"));
  order_label->setBuddy(OrderBox);
  RecordButton = new QPushButton(QStringLiteral("Messwert übernehmen"));
  DeleteButton = new QPushButton(QStringLiteral("Zeile löschen"));
  ClearButton = new QPushButton(QStringLiteral("Alle löschen"));
  connect(RecordButton, &QPushButton::clicked, this, [this] { Record(); });
  connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  connect(ClearButton, &QPushButton::clicked, this, [this] { AskAndClear(); });

  auto* actions = new QHBoxLayout;
  actions->addWidget(order_label);
  actions->addWidget(OrderBox);
  actions->addWidget(RecordButton);
  actions->addStretch();
  actions->addWidget(DeleteButton);
  actions->addWidget(ClearButton);

  Table = new QTableWidget(0, static_cast<int>(ProtocolColumnTitles().size()));
  Table->setHorizontalHeaderLabels(ProtocolColumnTitles());
  Table->verticalHeader()->hide();
  Table->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table->setSelectionMode(QAbstractItemView::SingleSelection);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Table->setAccessibleName(QStringLiteral("Messwerte"));

  ResultLabel = new QLabel;
  ResultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = ResultLabel->font();
  bold.setBold(true);
  ResultLabel->setFont(bold);
  WarningLabel = new QLabel;
  WarningLabel->setWordWrap(true);
  WarningLabel->setStyleSheet(QStringLiteral("color: #a04000"));
  StatusLabel = new QLabel;
  StatusLabel->setWordWrap(true);

  auto* left = new QVBoxLayout;
  left->addLayout(actions);
  left->addWidget(Table, 1);
  left->addWidget(ResultLabel);
  left->addWidget(WarningLabel);

  Plot = new ProtocolPlotView(this);
  auto* body = new QHBoxLayout;
  body->addLayout(left, 5);
  body->addWidget(Plot, 4);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(BuildFileButtons());
  layout->addWidget(StatusLabel);
}

QWidget* ProtocolWindow::BuildFileButtons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  struct FileButton {
    QString caption, dialog, filter, suffix;
    bool (ProtocolWindow::*action)(const QString&);
    bool save;
  };
  const QString csv = QStringLiteral("CSV-Dateien (*.csv)");
  const FileButton buttons[] = {
      {QStringLiteral("CSV importieren …"), QStringLiteral("Messwerte importieren"), csv,
       QStringLiteral("csv"), &ProtocolWindow::ImportCsv, false},
      {QStringLiteral("CSV exportieren …"), QStringLiteral("Messwerte exportieren"), csv,
       QStringLiteral("csv"), &ProtocolWindow::ExportCsv, true},
      {QStringLiteral("Diagramm als PNG …"), QStringLiteral("Diagramm speichern"),
       QStringLiteral("PNG-Bilder (*.png)"), QStringLiteral("png"), &ProtocolWindow::SavePlotPng,
       true},
      {QStringLiteral("Diagramm als SVG …"), QStringLiteral("Diagramm speichern"),
       QStringLiteral("SVG-Grafiken (*.svg)"), QStringLiteral("svg"), &ProtocolWindow::SavePlotSvg,
       true},
      {QStringLiteral("Als PDF speichern"), QStringLiteral("Protokoll als PDF speichern"),
       QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"), &ProtocolWindow::SavePdf, true},
  };
  for (const FileButton& b : buttons) {
    auto* button = new QPushButton(b.caption);
    connect(button, &QPushButton::clicked, this,
            [this, b] { ChooseAndRun(b.dialog, b.filter, b.suffix, b.action, b.save); });
    layout->addWidget(button);
  }
  layout->addStretch();
  return row;
}

void ProtocolWindow::ChooseAndRun(const QString& caption, const QString& filter,
                                  const QString& suffix,
                                  bool (ProtocolWindow::*action)(const QString&), bool save) {
  const QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                        QStringLiteral("/messprotokoll.") + suffix;
  QString path = save ? QFileDialog::getSaveFileName(this, caption, start, filter)
                      : QFileDialog::getOpenFileName(this, caption, start, filter);
  if (path.isEmpty()) return;
  if (save && QFileInfo(path).suffix().isEmpty()) path += '.' + suffix;
  (this->*action)(path);
}

void ProtocolWindow::Record() {
  const ProtocolReading now = reading_();
  rows_.push_back({static_cast<double>(now.voltage),
                   now.current / static_cast<double>(MilliampsPerAmp), OrderBox->value(),
                   now.amplitude});
  Changed();
  Table->selectRow(static_cast<int>(rows_.size()) - 1);
}

void ProtocolWindow::DeleteSelected() {
  const int row = Table->currentRow();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_.erase(rows_.begin() + row);
  Changed();
  if (!rows_.empty()) Table->selectRow(std::min(row, static_cast<int>(rows_.size()) - 1));
}

void ProtocolWindow::AskAndClear() {
  if (rows_.empty()) return;
  const auto answer = QMessageBox::question(
      this, WindowTitle,
      QStringLiteral("Alle %1 Messwerte löschen? Das lässt sich nicht rückgängig machen.")
          .arg(rows_.size()),
      QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer == QMessageBox::Yes) ClearAll();
}

void ProtocolWindow::ClearAll() {
  rows_.clear();
  Changed();
}

bool ProtocolWindow::ImportCsv(const QString& path) {
  std::string error;
  const std::optional<std::string> text = ReadWholeFile(path.toStdString(), error);
  if (!text) return Report(false, {}, error);
  const CsvParse parse = ParseProtocolCsv(*text);
  if (parse.problem) {
    return Report(false, {}, path.toStdString() + ", " + parse.problem->Message() +
                                 ". Die Tabelle bleibt, wie sie war.");
  }
  rows_ = parse.rows;
  Changed();
  return Report(true, QStringLiteral("%1 Messwerte importiert aus %2").arg(rows_.size()).arg(path),
                {});
}

bool ProtocolWindow::ExportCsv(const QString& path) {
  return SaveFile(path, WriteProtocolCsv(rows_), QStringLiteral("Messwerte"));
}

bool ProtocolWindow::SavePlotPng(const QString& path) {
  return SaveFile(path, PlotAsPng(rows_), QStringLiteral("Diagramm"));
}

bool ProtocolWindow::SavePlotSvg(const QString& path) {
  return SaveFile(path, PlotAsSvg(rows_), QStringLiteral("Diagramm"));
}

bool ProtocolWindow::SavePdf(const QString& path) {
  return SaveFile(path, ProtocolAsPdf(rows_), QStringLiteral("Protokoll"));
}

bool ProtocolWindow::SaveFile(const QString& path, const std::string& bytes, const QString& what) {
  std::string error;
  const bool ok = SaveFileAtomically(path.toStdString(), bytes, error);
  return Report(ok, QStringLiteral("%1 gespeichert in %2").arg(what, path), error);
}

bool ProtocolWindow::Report(bool ok, const QString& success, const std::string& error) {
  StatusLabel->setText(ok ? success : QString::fromStdString(error));
  StatusLabel->setStyleSheet(ok ? QString() : QStringLiteral("color: #b00000"));
  return ok;
}

void ProtocolWindow::Restore() {
  // A save cut off by a crash leaves its temporary file; the store itself is whole.
  const QFileInfo store(QString::fromStdString(store_path_));
  QDir folder = store.dir();
  for (const QString& name : folder.entryList({store.fileName() + QStringLiteral(".tmp-*")},
                                              QDir::Files | QDir::Hidden)) {
    folder.remove(name);
  }
  std::string error;
  const std::optional<std::string> text = ReadWholeFile(store_path_, error);
  if (!text) return;  // the first start: nothing recorded yet
  const CsvParse parse = ParseProtocolCsv(*text, CsvColumns::WithAmplitude);
  if (!parse.problem) {
    rows_ = parse.rows;
    return;
  }
  // Keep a damaged store for a look by hand; the next change writes a new one.
  const std::string kept = store_path_ + ".defekt";
  std::rename(store_path_.c_str(), kept.c_str());
  Report(false, {}, "Gespeichertes Protokoll nicht lesbar (" + parse.problem->Message() +
                        "), aufbewahrt als " + kept);
}

void ProtocolWindow::Changed() {
  std::string error;
  // An empty table is no file at all (a CSV table has at least one row).
  if (rows_.empty()) {
    if (std::remove(store_path_.c_str()) != 0 && errno != ENOENT) {
      Report(false, {}, "Protokoll nicht gelöscht: " + store_path_);
    }
  } else {
    // The user's data folder may not exist yet; if it cannot be made, the save says why.
    QDir().mkpath(QFileInfo(QString::fromStdString(store_path_)).path());
    if (!SaveFileAtomically(store_path_, WriteProtocolCsv(rows_, CsvColumns::WithAmplitude),
                            error)) {
      Report(false, {}, "Protokoll nicht gesichert: " + error);
    }
  }
  Show();
}

void ProtocolWindow::Show() {
  Table->setRowCount(static_cast<int>(rows_.size()));
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const QStringList cells = ProtocolCells(r + 1, rows_[static_cast<std::size_t>(r)]);
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      Table->setItem(r, c, item);
    }
  }
  const std::optional<SeriesResult> result = EvaluateSeries(rows_);
  ResultLabel->setText(ProtocolResultText(result));
  WarningLabel->setText(ProtocolWarningText(rows_));
  WarningLabel->setVisible(!WarningLabel->text().isEmpty());
  DeleteButton->setEnabled(!rows_.empty());
  ClearButton->setEnabled(!rows_.empty());
  Plot->SetSeries(rows_, result);
}

}  // namespace varek
