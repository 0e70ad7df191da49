// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/protocol/protocol_panel.h"

#include <QAbstractItemDelegate>
#include <QEvent>
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
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <random>

#include "app/dialog_parent.h"
#include "app/protocol/protocol_files.h"
#include "app/protocol/protocol_plot_view.h"
#include "app/protocol/protocol_table_model.h"
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
// The store's folder reports every step of a save; one reload after them.
constexpr int kReloadDelayMs = 60;
// Column widths of the table, in the order of the core's titles; the last
// takes the rest. The first holds the check box "in Auswertung" and the
// number; it widens for numbers that need more, and the last gives way down
// to its least width.
constexpr int kColumnWidths[] = {42, 40, 46, 56, 20, 68, 54};
constexpr int kLastColumnLeast = 60;
constexpr int kGridLine = 1;
constexpr int kRowHeight = 21;

std::uint64_t RandomSeed() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

// The import also opens a store kept aside.
const std::string ImportFilter = std::string(protocol_caption::CsvFilter) + ";;" +
                                 std::string(protocol_caption::KeptAsideFilter);

QMessageBox::ButtonRole RoleOf(Answer answer) {
  switch (answer) {
    case Answer::Yes: return QMessageBox::YesRole;
    case Answer::Replace: return QMessageBox::DestructiveRole;
    case Answer::Append: return QMessageBox::AcceptRole;
    case Answer::No: return QMessageBox::NoRole;
    case Answer::Cancel: return QMessageBox::RejectRole;
  }
  return QMessageBox::RejectRole;
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
      session_(RandomSeed()) {
  const form::Control& row = *form::FindControl("Protocol");
  setObjectName(DescriptionText(row.name));
  setFont(DescriptionFont(*row.font));
  SetTextColour(this, DescriptionColour(*row.text));
  const form::Control& readings = *form::FindControl("ProtocolReadings");
  Readings =
      new TPanel(parent, DescriptionRect(readings.bounds), DescriptionColour(*readings.fill));
  Readings->setObjectName(DescriptionText(readings.name));
  Readings->setFont(DescriptionFont(*readings.font));
  SetTextColour(Readings, DescriptionColour(*readings.text));
  setVisible(row.visible);
  controls_ = {{row.name, this}, {readings.name, Readings}};
  BuildRows(controls_);
  BindControls();
  reload_ = new QTimer(this);
  reload_->setSingleShot(true);
  reload_->setInterval(kReloadDelayMs);
  connect(reload_, &QTimer::timeout, this, [this] { Reload(); });
  retry_ = new QTimer(this);
  retry_->setSingleShot(true);
  retry_->setInterval(StoreRetryMilliseconds);
  connect(retry_, &QTimer::timeout, this, [this] { Reload(); });
  Show({});
  Reload();
  WatchStore();
}

void ProtocolPanel::SetPlace(form::ProtocolPlace place) {
  if (place == place_) return;
  place_ = place;
  for (const form::Control& row : form::Form1Controls()) {
    if (row.beside && controls_.contains(row.name))
      controls_.at(row.name)->setGeometry(DescriptionRect(form::PlacedBounds(row, place)));
  }
}

bool ProtocolPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == table_viewport_) FitLastTitle();
  return TPanel::eventFilter(watched, event);
}

// The readings' panel holds the panel's table and plot: it goes first, and
// its table's viewport, going with it, is watched no more.
ProtocolPanel::~ProtocolPanel() {
  table_viewport_->removeEventFilter(this);
  table_viewport_ = nullptr;
  delete Readings;
}

void ProtocolPanel::setVisible(bool visible) {
  TPanel::setVisible(visible);
  if (Readings != nullptr) Readings->setVisible(visible);
}

void ProtocolPanel::BindControls() {
  Bind(controls_, OrderBox, "ProtocolOrder");
  Bind(controls_, UncertaintyBox, "ProtocolUncertainty");
  Bind(controls_, RecordButton, "ProtocolRecord");
  Bind(controls_, DeleteButton, "ProtocolDelete");
  Bind(controls_, ClearButton, "ProtocolClear");
  Bind(controls_, UndoButton, "ProtocolUndo");
  Bind(controls_, Table, "ProtocolTable");
  Bind(controls_, ResultText, "ProtocolResult");
  Bind(controls_, WarningText, "ProtocolWarnings");
  Bind(controls_, StatusText, "ProtocolStatus");
  Bind(controls_, Plot, "ProtocolPlot");
  QLabel* order_label = nullptr;
  Bind(controls_, order_label, "ProtocolOrderLabel");
  order_label->setBuddy(OrderBox);
  QLabel* uncertainty_label = nullptr;
  Bind(controls_, uncertainty_label, "ProtocolUncertaintyLabel");
  uncertainty_label->setBuddy(UncertaintyBox);
  uncertainty_label->setToolTip(UncertaintyBox->toolTip());

  RecordButton->SetOnClick([this] { Record(); });
  DeleteButton->SetOnClick([this] { DeleteSelected(); });
  model_ = new ProtocolTableModel(this, session_.View(),
                                  [this](int row, bool included) { Include(row, included); });
  Table->setModel(model_);
  ClearButton->SetOnClick([this] { AskAndClear(); });
  UndoButton->SetOnClick([this] { Undo(); });
  UndoButton->setEnabled(false);
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Table->horizontalHeader()->setStretchLastSection(true);
  Table->verticalHeader()->setDefaultSectionSize(kRowHeight);
  table_viewport_ = Table->viewport();
  table_viewport_->installEventFilter(this);
  for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c) {
    Table->setColumnWidth(c, kColumnWidths[c]);
  }
  // A stretched section keeps at least the size it had before.
  Table->setColumnWidth(static_cast<int>(std::size(kColumnWidths)), kLastColumnLeast);
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
  reading.uncertainty = UncertaintyBox->value();
  const ProtocolSession::Action action = session_.Record(
      reading,
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
  if (!action.refusal.empty()) {
    Report(false, Q(action.refusal));
    refusal_shown_ = true;
    return false;
  }
  const std::size_t before = Rows().size();
  const bool stored = Run(action);
  // Also a reading not yet stored is in the table.
  if (Rows().size() > before) Table->selectRow(static_cast<int>(Rows().size()) - 1);
  return stored;
}

bool ProtocolPanel::DeleteSelected() {
  const int row = Table->currentIndex().row();
  if (row < 0 || row >= static_cast<int>(Rows().size())) return false;
  const std::size_t before = Rows().size();
  const bool stored = Run(session_.Delete(Rows()[static_cast<std::size_t>(row)].id));
  if (Rows().size() < before && !Rows().empty())
    Table->selectRow(std::min(row, static_cast<int>(Rows().size()) - 1));
  return stored;
}

bool ProtocolPanel::Include(int row, bool included) {
  if (row < 0 || row >= static_cast<int>(Rows().size())) return false;
  const bool done = Run(session_.Include(Rows()[static_cast<std::size_t>(row)].id, included));
  if (!done) model_->Redraw();  // the check box as it was
  return done;
}

bool ProtocolPanel::ClearAll() {
  const ProtocolSession::Action action = session_.Clear();
  return Apply(session_.Decide(action.change, Answer::Yes));
}

void ProtocolPanel::AskAndClear() { Run(session_.Clear()); }

bool ProtocolPanel::Undo() { return Run(session_.Undo()); }

bool ProtocolPanel::ImportCsv(const QString& path) {
  std::string error;
  const std::optional<std::string> text = ReadFileUpTo(path.toStdString(), MaxStoreBytes, error);
  if (!text) return Report(false, Q(error));
  return Run(session_.Import(*text, FileName(path).toStdString()));
}

bool ProtocolPanel::Run(const ProtocolSession::Action& action) {
  if (!action.refusal.empty()) return Report(false, Q(action.refusal));
  int change = action.change;
  if (change != 0 && !action.question.empty()) {
    QMessageBox box(QMessageBox::Question, Q(caption::Title), Q(action.question),
                    QMessageBox::NoButton, DialogParent(this));
    box.setTextFormat(Qt::PlainText);
    Answer answer = action.answers.back().answer;
    std::vector<std::pair<QAbstractButton*, Answer>> buttons;
    for (const AnswerChoice& choice : action.answers) {
      const bool careful = &choice == &action.answers.back();
      QPushButton* button = box.addButton(
          Q(choice.caption), careful ? QMessageBox::RejectRole : RoleOf(choice.answer));
      if (careful) box.setDefaultButton(button);
      buttons.emplace_back(button, choice.answer);
    }
    box.exec();
    for (const auto& [button, given] : buttons) {
      if (box.clickedButton() == button) answer = given;
    }
    change = session_.Decide(change, answer);
  }
  return change != 0 && Apply(change);
}

bool ProtocolPanel::ExportCsv(const QString& path) {
  return SaveFile(path, WriteTable(Rows(), TableForm::Exchange), caption::SavedTable);
}

bool ProtocolPanel::SavePlotPng(const QString& path) {
  return SaveFile(path, PlotAsPng(View()), caption::SavedPlot);
}

bool ProtocolPanel::SavePlotSvg(const QString& path) {
  return SaveFile(path, PlotAsSvg(View()), caption::SavedPlot);
}

bool ProtocolPanel::SavePdf(const QString& path) {
  return SaveFile(path, ProtocolAsPdf(View()), caption::SavedProtocol);
}

bool ProtocolPanel::SaveFile(const QString& path, const std::string& bytes, std::string_view what) {
  std::string error;
  if (!SaveFileAtomically(path.toStdString(), bytes, error)) return Report(false, Q(error));
  return Report(true, Q(SavedMessage(what, path.toStdString())));
}

bool ProtocolPanel::Apply(int change) {
  unsaved_ = Then(std::move(unsaved_), session_.ChangeOf(change));
  return Store(change);
}

void ProtocolPanel::Reload() { Store(0); }

bool ProtocolPanel::Store(int change) {
  ProtocolStoreFile::Outcome outcome = store_.Apply(unsaved_, Rows());
  // Not stored: the table keeps every change the user made.
  ProtocolTable rows = outcome.ok || outcome.read ? std::move(outcome.rows) : ProtocolTable(Rows());
  if (!outcome.ok) rows = Applied(std::move(rows), unsaved_);
  // The rows between those that stay at the top and at the bottom are new.
  const ProtocolTable& before = Rows();
  std::size_t top = 0, bottom = 0;
  while (top < before.size() && top < rows.size() && before[top].id == rows[top].id) ++top;
  while (bottom < before.size() - top && bottom < rows.size() - top &&
         before[before.size() - 1 - bottom].id == rows[rows.size() - 1 - bottom].id)
    ++bottom;
  const bool changed = rows != before;
  const int removed = static_cast<int>(before.size() - top - bottom);
  const int added = static_cast<int>(rows.size() - top - bottom);
  const std::string selected = SelectedId();
  const std::string success = session_.Stored(change, std::move(rows));
  if (changed) {
    model_->Changed(static_cast<int>(top), removed, added);
    Show(selected);
  }
  UndoButton->setEnabled(session_.CanUndo());
  if (!outcome.ok) {
    if (!unsaved_.Empty()) retry_->start();
    if (!told_not_stored_) {
      told_not_stored_ = true;
      Report(false, Q(outcome.message) + (success.empty() ? QString() : '\n' + Q(success)));
    } else if (!success.empty()) {
      Report(false, Q(NotYetStored(success)));
    }
    return false;
  }
  const bool stored_again = told_not_stored_ && !unsaved_.Empty();
  unsaved_ = {};
  told_not_stored_ = false;
  retry_->stop();
  if (!outcome.message.empty()) return Report(false, Q(outcome.message));
  if (stored_again) {
    return Report(true, (success.empty() ? QString() : Q(success) + '\n') +
                            Q(StoredAgainMessage(Rows().size())));
  }
  if (!success.empty()) return Report(true, Q(success));
  // What it said was about a table that another copy has changed since.
  if (changed) Report(true, {});
  return true;
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

std::string ProtocolPanel::SelectedId() const {
  const QModelIndex current = Table->currentIndex();
  return current.isValid() ? model_->IdOf(current.row()) : std::string();
}

void ProtocolPanel::Show(const std::string& selected) {
  const ProtocolView& view = View();
  for (std::size_t r = 0; r < view.rows.size() && !selected.empty(); ++r) {
    if (view.rows[r].id == selected) {
      Table->selectRow(static_cast<int>(r));
      break;
    }
  }
  ResultText->setPlainText(Q(view.Summary()));
  QString warnings;
  for (const std::string& line : view.warnings)
    warnings += (warnings.isEmpty() ? "" : "\n") + Q(line);
  WarningText->setPlainText(warnings);
  DeleteButton->setEnabled(!view.rows.empty());
  ClearButton->setEnabled(!view.rows.empty());
  FitNumberColumn(static_cast<int>(view.rows.size()));
  Plot->SetView(view);
}

void ProtocolPanel::FitNumberColumn(int rows) {
  // The rows are numbered 1 to rows: the last row's cell, with its check
  // box, is the widest.
  int width = kColumnWidths[0];
  if (rows > 0) {
    QStyleOptionViewItem option;
    option.initFrom(Table->viewport());
    option.font = Table->font();
    const QSize cell = Table->itemDelegate()->sizeHint(option, model_->index(rows - 1, 0));
    width = std::max(width, cell.width() + kGridLine);
  }
  if (Table->columnWidth(0) != width) Table->setColumnWidth(0, width);
  FitLastTitle();
}

void ProtocolPanel::FitLastTitle() {
  // The last column takes what the others leave; from 10,000 rows on the
  // number column takes so much that its title no longer fits on one line.
  const int last = model_->columnCount() - 1;
  int width = Table->viewport()->width();
  for (int c = 0; c < last; ++c) width -= Table->columnWidth(c);
  const QHeaderView* header = Table->horizontalHeader();
  const QString title = Q(session_.View().titles.back());
  const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  model_->BreakLastTitle(width < header->fontMetrics().horizontalAdvance(title) + 2 * margin);
}

void ProtocolPanel::CoverGone() {
  if (refusal_shown_) Report(true, {});
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
