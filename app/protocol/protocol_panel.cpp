// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_panel.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <random>

#include "app/dialog_parent.h"
#include "app/protocol/protocol_files.h"
#include "app/protocol/protocol_plot_view.h"
#include "app/protocol/qt_text.h"
#include "app/toolkit/controls.h"
#include "app/toolkit/look.h"
#include "measurement/atomic_file.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {

namespace caption = protocol_caption;

const QColor kPanel(91, 91, 91);
const QColor kCaption = Qt::white;
const QColor kWarning(255, 190, 110);
const QColor kFailure(255, 150, 150);
const QColor kOutlierRow(255, 215, 215);
// The store's folder reports every step of a save; one reload after them.
constexpr int kReloadDelayMs = 60;
// Column widths of the table, in the order of the core's titles.
constexpr int kColumnWidths[] = {32, 48, 52, 22, 76, 60, 118};

// Where the controls lie on the panel (its size: ProtocolPanel::Width × Height).
const QRect kOrderLabel(10, 12, 110, 17);
const QRect kOrderBox(122, 8, 46, 25);
const QRect kRecordButton(176, 8, 256, 25);
const QRect kStatus(8, 38, 424, 50);
const QRect kTable(8, 92, 424, 220);
const QRect kDeleteButton(8, 318, 140, 25);
const QRect kClearButton(156, 318, 140, 25);
const QRect kResult(8, 348, 424, 36);
const QRect kWarnings(8, 388, 424, 52);
const QRect kPlot(8, 446, 424, 196);
const QRect kFileButtons[] = {{8, 648, 210, 25},  {222, 648, 210, 25}, {8, 678, 138, 25},
                              {151, 678, 138, 25}, {294, 678, 138, 25}};

std::uint64_t RandomSeed() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

std::string DefaultProtocolStorePath() {
  return (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
          QStringLiteral("/messprotokoll.csv"))
      .toStdString();
}

ProtocolPanel::ProtocolPanel(QWidget* parent, const QPoint& top_left, std::string store_path,
                             std::function<Reading()> reading)
    : TPanel(parent, QRect(top_left, QSize(Width, Height)), kPanel),
      store_(std::move(store_path)),
      reading_(std::move(reading)),
      ids_(RandomSeed()) {
  setFont(PixelFont(13, false));
  SetTextColour(this, kCaption);
  BuildControls();
  reload_ = new QTimer(this);
  reload_->setSingleShot(true);
  reload_->setInterval(kReloadDelayMs);
  connect(reload_, &QTimer::timeout, this, [this] { Reload(); });
  Reload();
  WatchStore();
}

ProtocolPanel::~ProtocolPanel() = default;

void ProtocolPanel::BuildControls() {
  auto* order_label = new QLabel(Q(caption::Order), this);
  order_label->setGeometry(kOrderLabel);
  order_label->setFont(PixelFont(13, true));
  OrderBox = new QSpinBox(this);
  OrderBox->setGeometry(kOrderBox);
  OrderBox->setFont(PixelFont(13, true));
  OrderBox->setRange(1, 4);
  OrderBox->setAccessibleName(QStringLiteral("Fokusordnung k"));
  SetTextColour(OrderBox, Qt::black);
  order_label->setBuddy(OrderBox);
  RecordButton = new TButton(this, kRecordButton, Q(caption::Record), PixelFont(13, true));
  RecordButton->setToolTip(Q(caption::RecordHint));
  RecordButton->SetOnClick([this] { Record(); });

  StatusLabel = new QLabel(this);
  StatusLabel->setGeometry(kStatus);
  StatusLabel->setWordWrap(true);
  StatusLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Table = new QTableWidget(0, static_cast<int>(std::size(kColumnWidths)), this);
  Table->setGeometry(kTable);
  Table->setFont(PixelFont(13, false));
  SetTextColour(Table, Qt::black);
  Table->verticalHeader()->hide();
  Table->horizontalHeader()->setFont(PixelFont(13, false));
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Table->horizontalHeader()->setStretchLastSection(true);
  Table->verticalHeader()->setDefaultSectionSize(21);
  Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Table->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table->setSelectionMode(QAbstractItemView::SingleSelection);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->setAccessibleName(Q(caption::TableName));
  Table->setToolTip(Q(caption::DeflectionLegend));
  for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c) {
    Table->setColumnWidth(c, kColumnWidths[c]);
  }

  DeleteButton = new TButton(this, kDeleteButton, Q(caption::Delete), PixelFont(13, true));
  DeleteButton->SetOnClick([this] { DeleteSelected(); });
  ClearButton = new TButton(this, kClearButton, Q(caption::Clear), PixelFont(13, true));
  ClearButton->SetOnClick([this] { AskAndClear(); });

  ResultLabel = new QLabel(this);
  ResultLabel->setGeometry(kResult);
  ResultLabel->setFont(PixelFont(13, true));
  ResultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ResultLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ResultLabel->setWordWrap(true);

  WarningBox = new QPlainTextEdit(this);
  WarningBox->setGeometry(kWarnings);
  WarningBox->setReadOnly(true);
  WarningBox->setFrameShape(QFrame::NoFrame);
  WarningBox->setFont(PixelFont(13, false));
  WarningBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  SetBackgroundColour(WarningBox, kPanel);
  WarningBox->viewport()->setAutoFillBackground(false);
  SetTextColour(WarningBox, kWarning);
  WarningBox->setAccessibleName(QStringLiteral("Hinweise zu den Messwerten"));

  Plot = new ProtocolPlotView(this);
  Plot->setGeometry(kPlot);
  BuildFileButtons();
}

void ProtocolPanel::BuildFileButtons() {
  struct FileButton {
    TButton** button;
    std::string_view caption, dialog, filter;
    const char* suffix;
    bool (ProtocolPanel::*action)(const QString&);
    bool save;
  };
  const FileButton buttons[] = {
      {&ImportButton, caption::Import, caption::ImportDialog, caption::CsvFilter, "csv",
       &ProtocolPanel::ImportCsv, false},
      {&ExportButton, caption::Export, caption::ExportDialog, caption::CsvFilter, "csv",
       &ProtocolPanel::ExportCsv, true},
      {&PngButton, caption::Png, caption::PlotDialog, caption::PngFilter, "png",
       &ProtocolPanel::SavePlotPng, true},
      {&SvgButton, caption::Svg, caption::PlotDialog, caption::SvgFilter, "svg",
       &ProtocolPanel::SavePlotSvg, true},
      {&PdfButton, caption::Pdf, caption::PdfDialog, caption::PdfFilter, "pdf",
       &ProtocolPanel::SavePdf, true},
  };
  for (std::size_t i = 0; i < std::size(buttons); ++i) {
    const FileButton& b = buttons[i];
    *b.button = new TButton(this, kFileButtons[i], Q(b.caption), PixelFont(13, true));
    (*b.button)->SetOnClick([this, b] { ChooseAndRun(b.dialog, b.filter, b.suffix, b.action, b.save); });
  }
}

void ProtocolPanel::ChooseAndRun(std::string_view dialog, std::string_view filter,
                                 const char* suffix, bool (ProtocolPanel::*action)(const QString&),
                                 bool save) {
  const QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + '/' +
                        Q(caption::FileStem) + '.' + suffix;
  QWidget* parent = DialogParent(this);
  QString path = save ? QFileDialog::getSaveFileName(parent, Q(dialog), start, Q(filter))
                      : QFileDialog::getOpenFileName(parent, Q(dialog), start, Q(filter));
  if (path.isEmpty()) return;
  if (save && QFileInfo(path).suffix().isEmpty()) path += '.' + QString::fromLatin1(suffix);
  (this->*action)(path);
}

bool ProtocolPanel::Record() {
  Reading reading = reading_();
  reading.order = OrderBox->value();
  const ReadingCheck check = CheckReading(reading);
  if (!check.row) return Report(false, Q(check.refusal));
  const std::size_t before = rows_.size();
  Apply(AddRows({{ids_.Next(), *check.row}}), Q(RecordedMessage(before + 1, *check.row)));
  if (rows_.size() > before) Table->selectRow(static_cast<int>(rows_.size()) - 1);
  return rows_.size() > before;
}

bool ProtocolPanel::DeleteSelected() {
  const int row = Table->currentRow();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
  Apply(DeleteRow(rows_[static_cast<std::size_t>(row)].id),
        Q(DeletedMessage(static_cast<std::size_t>(row) + 1)));
  if (!rows_.empty()) Table->selectRow(std::min(row, static_cast<int>(rows_.size()) - 1));
  return true;
}

bool ProtocolPanel::ClearAll() {
  Apply(ClearRows(rows_), Q(ClearedMessage(rows_.size())));
  return true;
}

void ProtocolPanel::AskAndClear() {
  if (rows_.empty()) return;
  QMessageBox box(QMessageBox::Question, Q(caption::Title), Q(ClearQuestion(rows_.size())),
                  QMessageBox::NoButton, DialogParent(this));
  QPushButton* yes = box.addButton(Q(caption::Yes), QMessageBox::YesRole);
  box.setDefaultButton(box.addButton(Q(caption::No), QMessageBox::NoRole));
  box.exec();
  if (box.clickedButton() == yes) ClearAll();
}

bool ProtocolPanel::ImportCsv(const QString& path) {
  std::string error;
  const std::optional<std::string> text = ReadFileUpTo(path.toStdString(), MaxTableBytes, error);
  if (!text) return Report(false, Q(error));
  const TableRead read = ReadTable(*text, TableForm::Exchange);
  const std::string file = FileName(path).toStdString();
  if (!read.Clean()) return Report(false, Q(ImportRefusedMessage(file, read.Summary())));
  ImportMode mode = ImportMode::Append;
  if (!rows_.empty()) {
    QMessageBox box(QMessageBox::Question, Q(caption::Title),
                    Q(ImportQuestion(file, read.rows.size(), rows_.size())), QMessageBox::NoButton,
                    DialogParent(this));
    QPushButton* replace = box.addButton(Q(caption::Replace), QMessageBox::DestructiveRole);
    QPushButton* append = box.addButton(Q(caption::Append), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(Q(caption::Cancel), QMessageBox::RejectRole));
    box.exec();
    if (box.clickedButton() == replace) {
      mode = ImportMode::Replace;
    } else if (box.clickedButton() != append) {
      return false;
    }
  }
  Apply(ImportRows(rows_, ValuesOf(read.rows), mode, ids_), Q(ImportedMessage(read.rows.size(), file)));
  return true;
}

bool ProtocolPanel::ExportCsv(const QString& path) {
  return SaveFile(path, WriteTable(rows_, TableForm::Exchange), "Messwerte");
}

bool ProtocolPanel::SavePlotPng(const QString& path) {
  return SaveFile(path, PlotAsPng(view_), "Diagramm");
}

bool ProtocolPanel::SavePlotSvg(const QString& path) {
  return SaveFile(path, PlotAsSvg(view_), "Diagramm");
}

bool ProtocolPanel::SavePdf(const QString& path) {
  return SaveFile(path, ProtocolAsPdf(view_), "Protokoll");
}

bool ProtocolPanel::SaveFile(const QString& path, const std::string& bytes, std::string_view what) {
  std::string error;
  if (!SaveFileAtomically(path.toStdString(), bytes, error)) return Report(false, Q(error));
  return Report(true, Q(SavedMessage(what, path.toStdString())));
}

void ProtocolPanel::Apply(const TableChange& change, const QString& success) {
  const ProtocolStoreFile::Outcome outcome = store_.Apply(change);
  if (!outcome.ok) {
    Report(false, Q(outcome.message));
    return;
  }
  rows_ = outcome.rows;
  Show();
  if (!outcome.message.empty()) {
    Report(false, Q(outcome.message));
  } else if (!success.isEmpty()) {
    Report(true, success);
  }
}

void ProtocolPanel::Reload() {
  const ProtocolStoreFile::Outcome outcome = store_.Load();
  if (!outcome.ok) {
    Report(false, Q(outcome.message));
    return;
  }
  if (!outcome.message.empty()) Report(false, Q(outcome.message));
  if (outcome.rows == rows_ && !view_.titles.empty()) return;
  rows_ = outcome.rows;
  Show();
}

void ProtocolPanel::WatchStore() {
  watcher_ = new QFileSystemWatcher(this);
  const QString store = QString::fromStdString(store_.path());
  watcher_->addPath(QFileInfo(store).path());
  if (QFileInfo::exists(store)) watcher_->addPath(store);
  auto changed = [this, store] {
    // A save replaces the file: watch the new one.
    if (QFileInfo::exists(store) && !watcher_->files().contains(store)) watcher_->addPath(store);
    reload_->start();
  };
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, changed);
}

void ProtocolPanel::Show() {
  const QString selected = Table->currentRow() >= 0 && Table->currentRow() < static_cast<int>(view_.rows.size())
                               ? QString::fromStdString(view_.rows[static_cast<std::size_t>(Table->currentRow())].id)
                               : QString();
  view_ = ViewOf(rows_);
  QStringList titles;
  for (const std::string& title : view_.titles) titles << Q(title);
  Table->setHorizontalHeaderLabels(titles);
  Table->setRowCount(static_cast<int>(view_.rows.size()));
  int keep = -1;
  for (int r = 0; r < static_cast<int>(view_.rows.size()); ++r) {
    const ProtocolViewRow& row = view_.rows[static_cast<std::size_t>(r)];
    if (QString::fromStdString(row.id) == selected) keep = r;
    for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
      auto* item = new QTableWidgetItem(Q(row.cells[static_cast<std::size_t>(c)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (row.outlier) {
        item->setBackground(kOutlierRow);
        item->setToolTip(QStringLiteral("Ausreißer: siehe Hinweis unter der Tabelle"));
      }
      Table->setItem(r, c, item);
    }
  }
  if (keep >= 0) Table->selectRow(keep);
  ResultLabel->setText(Q(view_.result) + (view_.deviation.empty() ? QString() : '\n' + Q(view_.deviation)));
  QString warnings;
  for (const std::string& line : view_.warnings) warnings += (warnings.isEmpty() ? "" : "\n") + Q(line);
  WarningBox->setPlainText(warnings);
  DeleteButton->setEnabled(!rows_.empty());
  ClearButton->setEnabled(!rows_.empty());
  Plot->SetView(view_);
}

bool ProtocolPanel::Report(bool ok, const QString& text) {
  StatusLabel->setText(text);
  StatusLabel->setToolTip(text);
  SetTextColour(StatusLabel, ok ? kCaption : kFailure);
  return ok;
}

}  // namespace varek
