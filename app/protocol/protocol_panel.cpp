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
#include <unordered_set>

#include "app/dialog_parent.h"
#include "app/protocol/protocol_files.h"
#include "app/protocol/protocol_plot_view.h"
#include "app/protocol/qt_text.h"
#include "app/toolkit/controls.h"
#include "app/toolkit/look.h"
#include "form/form1.h"
#include "measurement/atomic_file.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {

namespace caption = protocol_caption;

const QColor kCaption = Qt::white;
const QColor kFailure(255, 200, 200);  // 4.6 : 1 on the panel
const QColor kOutlierRow(255, 215, 215);
// The store's folder reports every step of a save; one reload after them.
constexpr int kReloadDelayMs = 60;
// While the store cannot be written, the unsaved changes are tried again.
constexpr int kRetryMs = 2000;
// Column widths of the table, in the order of the core's titles; the last
// takes the rest.
constexpr int kColumnWidths[] = {32, 48, 52, 22, 76, 60};
constexpr int kRowHeight = 21;
// Removing a table row moves those below it: for more, the table is made anew.
constexpr std::size_t kMostRowsRemovedOneByOne = 16;

std::uint64_t RandomSeed() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

// The import also opens a store kept aside.
const std::string ImportFilter = std::string(protocol_caption::CsvFilter) + ";;" +
                                 std::string(protocol_caption::KeptAsideFilter);

struct Answer {
  std::string_view caption;
  QMessageBox::ButtonRole role;
};

// Asks `question` in a window of its own; the last answer is the default.
// The question is plain text: it may quote a file's name. Returns the
// answer's index, or -1 when the window was closed without one.
int Ask(QWidget* parent, const std::string& question, std::initializer_list<Answer> answers) {
  QMessageBox box(QMessageBox::Question, Q(protocol_caption::Title), Q(question),
                  QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  std::vector<QAbstractButton*> buttons;
  for (const Answer& answer : answers)
    buttons.push_back(box.addButton(Q(answer.caption), answer.role));
  box.setDefaultButton(static_cast<QPushButton*>(buttons.back()));
  box.exec();
  const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
  return chosen == buttons.end() ? -1 : static_cast<int>(chosen - buttons.begin());
}

}  // namespace

std::string DefaultProtocolStorePath() {
  return (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
          QStringLiteral("/messprotokoll.csv"))
      .toStdString();
}

ProtocolPanel::ProtocolPanel(QWidget* parent, std::string store_path,
                             std::function<Reading()> reading)
    : TPanel(parent, DescriptionRect(form::FindControl("Protocol")->bounds),
             DescriptionColour(*form::FindControl("Protocol")->fill)),
      store_(std::move(store_path)),
      reading_(std::move(reading)),
      ids_(RandomSeed()) {
  const form::Control& row = *form::FindControl("Protocol");
  setObjectName(DescriptionText(row.name));
  setFont(DescriptionFont(*row.font));
  SetTextColour(this, DescriptionColour(*row.text));
  if (!row.visible) hide();
  controls_ = {{row.name, this}};
  BuildRows(controls_);
  BindControls();
  reload_ = new QTimer(this);
  reload_->setSingleShot(true);
  reload_->setInterval(kReloadDelayMs);
  connect(reload_, &QTimer::timeout, this, [this] { Reload(); });
  retry_ = new QTimer(this);
  retry_->setSingleShot(true);
  retry_->setInterval(kRetryMs);
  connect(retry_, &QTimer::timeout, this, [this] { Reload(); });
  Show();
  Reload();
  WatchStore();
}

ProtocolPanel::~ProtocolPanel() = default;

void ProtocolPanel::BindControls() {
  Bind(controls_, OrderBox, "ProtocolOrder");
  Bind(controls_, RecordButton, "ProtocolRecord");
  Bind(controls_, DeleteButton, "ProtocolDelete");
  Bind(controls_, ClearButton, "ProtocolClear");
  Bind(controls_, Table, "ProtocolTable");
  Bind(controls_, ResultText, "ProtocolResult");
  Bind(controls_, WarningText, "ProtocolWarnings");
  Bind(controls_, StatusText, "ProtocolStatus");
  Bind(controls_, Plot, "ProtocolPlot");
  QLabel* order_label = nullptr;
  Bind(controls_, order_label, "ProtocolOrderLabel");
  order_label->setBuddy(OrderBox);

  RecordButton->SetOnClick([this] { Record(); });
  DeleteButton->SetOnClick([this] { DeleteSelected(); });
  ClearButton->SetOnClick([this] { AskAndClear(); });
  Table->setColumnCount(static_cast<int>(TableColumnTitles().size()));
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Table->horizontalHeader()->setStretchLastSection(true);
  Table->verticalHeader()->setDefaultSectionSize(kRowHeight);
  for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c) {
    Table->setColumnWidth(c, kColumnWidths[c]);
  }
  AttachFileButtons();
}

void ProtocolPanel::AttachFileButtons() {
  struct FileButton {
    TButton** button;
    const char* name;
    std::string_view dialog, filter;
    const char* suffix;
    bool (ProtocolPanel::*action)(const QString&);
    bool save;
  };
  const FileButton buttons[] = {
      {&ImportButton, "ProtocolImport", caption::ImportDialog, ImportFilter, "csv",
       &ProtocolPanel::ImportCsv, false},
      {&ExportButton, "ProtocolExport", caption::ExportDialog, caption::CsvFilter, "csv",
       &ProtocolPanel::ExportCsv, true},
      {&PngButton, "ProtocolPng", caption::PlotDialog, caption::PngFilter, "png",
       &ProtocolPanel::SavePlotPng, true},
      {&SvgButton, "ProtocolSvg", caption::PlotDialog, caption::SvgFilter, "svg",
       &ProtocolPanel::SavePlotSvg, true},
      {&PdfButton, "ProtocolPdf", caption::PdfDialog, caption::PdfFilter, "pdf",
       &ProtocolPanel::SavePdf, true},
  };
  for (const FileButton& b : buttons) {
    Bind(controls_, *b.button, b.name);
    (*b.button)->SetOnClick(
        [this, b] { ChooseAndRun(b.dialog, b.filter, b.suffix, b.action, b.save); });
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
  if (!check.row) {
    Report(false, Q(check.refusal));
    refusal_shown_ = true;
    return false;
  }
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
  // The rows the question names: another copy may add some while it is open.
  const ProtocolTable seen = rows_;
  if (Ask(DialogParent(this), ClearQuestion(seen.size()),
          {{caption::Yes, QMessageBox::YesRole}, {caption::No, QMessageBox::NoRole}}) == 0) {
    Apply(ClearRows(seen), Q(ClearedMessage(seen.size())));
  }
}

bool ProtocolPanel::ImportCsv(const QString& path) {
  std::string error;
  const std::optional<std::string> text = ReadFileUpTo(path.toStdString(), MaxStoreBytes, error);
  if (!text) return Report(false, Q(error));
  const TableRead read = ReadTable(*text, TableForm::Exchange);
  const std::string file = FileName(path).toStdString();
  if (!read.Clean()) return Report(false, Q(ImportRefusedMessage(file, read.Summary())));
  ImportMode mode = ImportMode::Append;
  const ProtocolTable seen = rows_;  // what "Ersetzen" replaces
  if (!seen.empty()) {
    const int answer = Ask(DialogParent(this), ImportQuestion(file, read.rows.size(), seen.size()),
                           {{caption::Replace, QMessageBox::DestructiveRole},
                            {caption::Append, QMessageBox::AcceptRole},
                            {caption::Cancel, QMessageBox::RejectRole}});
    if (answer == 0) {
      mode = ImportMode::Replace;
    } else if (answer != 1) {
      return false;
    }
  }
  Apply(ImportRows(seen, ValuesOf(read.rows), mode, ids_),
        Q(ImportedMessage(read.rows.size(), file)));
  return true;
}

bool ProtocolPanel::ExportCsv(const QString& path) {
  return SaveFile(path, WriteTable(rows_, TableForm::Exchange), caption::SavedTable);
}

bool ProtocolPanel::SavePlotPng(const QString& path) {
  return SaveFile(path, PlotAsPng(view_), caption::SavedPlot);
}

bool ProtocolPanel::SavePlotSvg(const QString& path) {
  return SaveFile(path, PlotAsSvg(view_), caption::SavedPlot);
}

bool ProtocolPanel::SavePdf(const QString& path) {
  return SaveFile(path, ProtocolAsPdf(view_), caption::SavedProtocol);
}

bool ProtocolPanel::SaveFile(const QString& path, const std::string& bytes, std::string_view what) {
  std::string error;
  if (!SaveFileAtomically(path.toStdString(), bytes, error)) return Report(false, Q(error));
  return Report(true, Q(SavedMessage(what, path.toStdString())));
}

void ProtocolPanel::Apply(const TableChange& change, const QString& success) {
  unsaved_ = Then(std::move(unsaved_), change);
  Store(success);
}

void ProtocolPanel::Reload() { Store({}); }

void ProtocolPanel::Store(const QString& success) {
  ProtocolStoreFile::Outcome outcome = store_.Apply(unsaved_, rows_);
  // Not stored: the table keeps every change the user made.
  ProtocolTable rows = outcome.ok
                           ? std::move(outcome.rows)
                           : Applied(outcome.read ? std::move(outcome.rows) : rows_, unsaved_);
  const bool changed = rows != rows_;
  if (changed || view_.titles.empty()) {
    rows_ = std::move(rows);
    Show();
  }
  if (!outcome.ok) {
    if (!unsaved_.Empty()) retry_->start();
    if (!told_not_stored_) {
      told_not_stored_ = true;
      Report(false, Q(outcome.message) + (success.isEmpty() ? QString() : '\n' + success));
    } else if (!success.isEmpty()) {
      Report(false, Q(NotYetStored(success.toStdString())));
    }
    return;
  }
  const bool stored_again = told_not_stored_ && !unsaved_.Empty();
  unsaved_ = {};
  told_not_stored_ = false;
  retry_->stop();
  if (!outcome.message.empty()) {
    Report(false, Q(outcome.message));
  } else if (stored_again) {
    Report(true,
           (success.isEmpty() ? QString() : success + '\n') + Q(StoredAgainMessage(rows_.size())));
  } else if (!success.isEmpty()) {
    Report(true, success);
  } else if (changed) {
    Report(true, {});  // what it said was about a table that another copy has changed since
  }
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
  const std::string selected =
      Table->currentRow() >= 0 && Table->currentRow() < static_cast<int>(view_.rows.size())
          ? view_.rows[static_cast<std::size_t>(Table->currentRow())].id
          : std::string();
  ProtocolView view = ViewOf(rows_);
  QStringList titles;
  for (const std::string& title : view.titles) titles << Q(title);
  Table->setColumnCount(static_cast<int>(titles.size()));
  Table->setHorizontalHeaderLabels(titles);
  FillRows(view);
  view_ = std::move(view);
  int keep = -1;
  for (int r = 0; r < static_cast<int>(view_.rows.size()); ++r) {
    if (!selected.empty() && view_.rows[static_cast<std::size_t>(r)].id == selected) keep = r;
  }
  if (keep >= 0) Table->selectRow(keep);
  ResultText->setPlainText(Q(view_.result) +
                           (view_.deviation.empty() ? QString() : '\n' + Q(view_.deviation)));
  QString warnings;
  for (const std::string& line : view_.warnings)
    warnings += (warnings.isEmpty() ? "" : "\n") + Q(line);
  WarningText->setPlainText(warnings);
  DeleteButton->setEnabled(!rows_.empty());
  ClearButton->setEnabled(!rows_.empty());
  Plot->SetView(view_);
}

void ProtocolPanel::CoverGone() {
  if (refusal_shown_) Report(true, {});
}

void ProtocolPanel::FillRows(const ProtocolView& view) {
  std::unordered_set<std::string_view> ids;
  for (const ProtocolViewRow& row : view.rows) ids.insert(row.id);
  // The rows still there, in the table's order; a few gone are removed one
  // by one, more make the table anew.
  std::vector<const ProtocolViewRow*> kept;
  for (const ProtocolViewRow& row : view_.rows) {
    if (ids.contains(row.id)) kept.push_back(&row);
  }
  const std::size_t gone = view_.rows.size() - kept.size();
  bool in_order = gone <= kMostRowsRemovedOneByOne && kept.size() <= view.rows.size();
  for (std::size_t i = 0; in_order && i < kept.size(); ++i)
    in_order = kept[i]->id == view.rows[i].id;
  if (in_order) {
    for (int r = static_cast<int>(view_.rows.size()) - 1; r >= 0 && gone > 0; --r) {
      if (!ids.contains(view_.rows[static_cast<std::size_t>(r)].id)) Table->removeRow(r);
    }
  } else {
    kept.clear();
    Table->setRowCount(0);
  }
  Table->setRowCount(static_cast<int>(view.rows.size()));
  for (std::size_t r = 0; r < view.rows.size(); ++r) {
    const ProtocolViewRow& row = view.rows[r];
    const ProtocolViewRow* was = r < kept.size() ? kept[r] : nullptr;
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
      if (was != nullptr && was->outlier == row.outlier && was->cells[c] == row.cells[c]) continue;
      auto* item = new QTableWidgetItem(Q(row.cells[c]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (row.outlier) {
        item->setBackground(kOutlierRow);
        item->setToolTip(Q(caption::OutlierHint));
      }
      Table->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
}

bool ProtocolPanel::Report(bool ok, const QString& text) {
  refusal_shown_ = false;
  StatusText->setPlainText(text);
  QPalette palette = StatusText->palette();
  palette.setColor(QPalette::Text, ok ? kCaption : kFailure);
  StatusText->setPalette(palette);
  return ok;
}

}  // namespace varek
