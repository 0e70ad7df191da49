// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Time of the protocol panel's actions on a large table: an import of N
// rows into an empty table, "Messwert übernehmen", "Zeile löschen" and an
// import of 100 rows appended, each from the call
// to the table shown (the store read, changed, written and synced, the
// evaluation, the table's rows told), on a store of N rows in a temporary
// folder; with --paint also the table and the plot painted again (and the
// plot alone painted, "plot"). Prints the
// minimum, the median and the maximum of each.
//
// Usage: QT_QPA_PLATFORM=offscreen bench_protocol [--paint] [ROWS...]   (default 2000 20000)
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/protocol/protocol_panel.h"
#include "app/protocol/protocol_plot_view.h"
#include "measurement/atomic_file.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_texts.h"

namespace {

using namespace varek;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 9;
constexpr int kImportedRows = 100;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

bool paint = false;

void Print(const char* what, std::size_t rows, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-10s %6zu rows%s: min %7.1f ms, median %7.1f ms, max %7.1f ms\n", what, rows,
              paint ? ", painted" : "", times.front(), times[times.size() / 2], times.back());
}

template <class Action>
std::vector<double> Timed(ProtocolPanel& panel, Action action) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    action(i);
    if (paint) panel.Readings->repaint();
    times.push_back(Ms(Clock::now() - start));
  }
  return times;
}

Reading Setting(int current) {
  Reading r;
  r.voltage = 1200;
  r.current = current;
  r.amplitude = 200;
  r.deflection_on = true;
  r.steady = false;
  return r;
}

// "CSV importieren" of the file `file` into an empty store, a new one each run.
void RunImport(std::size_t rows, const QString& file) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    QTemporaryDir empty;
    ProtocolPanel panel(nullptr, empty.filePath("messprotokoll.csv").toStdString(),
                        [] { return Setting(1231); });
    if (paint) {
      panel.show();
      while (!panel.Readings->windowHandle()->isExposed()) QApplication::processEvents();
    }
    const auto start = Clock::now();
    panel.ImportCsv(file);
    if (paint) panel.Readings->repaint();
    times.push_back(Ms(Clock::now() - start));
  }
  Print("import new", rows, times);
}

void Run(std::size_t rows) {
  QTemporaryDir folder;
  const std::string store = folder.filePath("messprotokoll.csv").toStdString();
  ProtocolTable table;
  RowIdSource ids(1);
  for (std::size_t i = 0; i < rows; ++i)
    table.push_back(
        {ids.Next(),
         {1200, static_cast<double>(1000 + i % 500) / 1000, 1, 200, Deflection::Alternating}});
  std::string error;
  if (!SaveFileAtomically(store, WriteTable(table, TableForm::Store), error)) std::exit(1);
  const QString series = folder.filePath("reihe.csv");
  if (!SaveFileAtomically(series.toStdString(), WriteTable(table, TableForm::Exchange), error))
    std::exit(1);
  RunImport(rows, series);
  ProtocolTable imported(kImportedRows, {"", {800, 1.004, 1, 150}});
  const QString file = folder.filePath("import.csv");
  if (!SaveFileAtomically(file.toStdString(), WriteTable(imported, TableForm::Exchange), error))
    std::exit(1);

  int current = 1000;
  ProtocolPanel panel(nullptr, store, [&] { return Setting(++current); });
  if (paint) {
    panel.show();
    while (!panel.Readings->windowHandle()->isExposed()) QApplication::processEvents();
  }
  if (paint) Print("plot", rows, Timed(panel, [&](int) { panel.Plot->repaint(); }));
  Print("record", rows, Timed(panel, [&](int) { panel.Record(); }));
  Print("delete", rows, Timed(panel, [&](int) {
          panel.Table->selectRow(0);
          panel.DeleteSelected();
        }));
  // The table has rows: the import asks, and is answered "Anhängen" at
  // once (the question's window is in the time).
  Print("import", rows, Timed(panel, [&](int) {
          QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) std::exit(1);
            for (QAbstractButton* button : box->buttons()) {
              if (button->text() == QString::fromUtf8(protocol_caption::Append.data(),
                                                      protocol_caption::Append.size()))
                button->click();
            }
          });
          panel.ImportCsv(file);
        }));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::vector<std::size_t> sizes;
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--paint") {
      paint = true;
    } else {
      sizes.push_back(std::strtoul(argv[i], nullptr, 10));
    }
  }
  if (sizes.empty()) sizes = {2000, 20000};
  for (std::size_t rows : sizes) Run(rows);
  return 0;
}
