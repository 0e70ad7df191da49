// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol window driven through real clicks, its store surviving a
// killed process, its files, and the way to it from the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/protocol/protocol_window.h"
#include "measurement/protocol_csv.h"
#include "app/form1.h"
#include "app/toolkit/controls.h"
#include "tests/app/test_main.h"

namespace varek::testing {

// Run as a child process: records three rows, says so, then waits to be killed.
int RunProtocolCrashChild(const char* store) {
  int voltage = 300;
  ProtocolWindow window(nullptr, store, [&] { return ProtocolReading{voltage += 100, 700, 50}; });
  for (int i = 0; i < 3; ++i) window.Record();
  std::printf("recorded\n");
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}
const ChildMode crash_child("--protocol-crash-child", RunProtocolCrashChild);

namespace {

class ProtocolWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    Open();
  }
  void Open() {
    window = std::make_unique<ProtocolWindow>(nullptr, store(), [this] { return reading; });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  // In a folder that the first save makes, as the user's data folder at the first start.
  std::string store() const { return folder.filePath("daten/protokoll.csv").toStdString(); }
  QString Cell(int row, int column) const { return window->Table->item(row, column)->text(); }
  void ClickRow(int row) {
    QTableWidget* table = window->Table;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                      table->visualItemRect(table->item(row, 0)).center());
  }
  // Answers the question that "Alle löschen" asks.
  static void AnswerNextQuestion(QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, [answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      QTest::mouseClick(box->button(answer), Qt::LeftButton);
    });
  }

  QTemporaryDir folder;
  ProtocolReading reading{1200, 1230, 200};
  std::unique_ptr<ProtocolWindow> window;
};

TEST_F(ProtocolWindowTest, RecordDeleteAndClearThroughClicks) {
  const struct {
    ProtocolReading reading;
    int order;
  } steps[] = {{{1200, 1230, 200}, 1}, {{300, 613, 25}, 1}, {{800, 2007, 100}, 2}};
  for (const auto& step : steps) {
    reading = step.reading;
    window->OrderBox->setValue(step.order);
    QTest::mouseClick(window->RecordButton, Qt::LeftButton);
  }
  ASSERT_EQ(window->Table->rowCount(), 3);
  const QStringList third = {"3", "800", "2,007", "2", "100", "12,610", "1,7605"};
  for (int c = 0; c < third.size(); ++c) EXPECT_EQ(Cell(2, c), third[c]) << c;
  EXPECT_TRUE(window->ResultLabel->text().startsWith("e/m = 1,7"));
  EXPECT_TRUE(window->ResultLabel->text().contains(QStringLiteral("±")));
  EXPECT_TRUE(window->WarningLabel->text().isEmpty());

  ClickRow(1);
  QTest::mouseClick(window->DeleteButton, Qt::LeftButton);
  ASSERT_EQ(window->Table->rowCount(), 2);
  EXPECT_EQ(Cell(1, 0), "2");  // renumbered
  EXPECT_EQ(Cell(1, 1), "800");

  AnswerNextQuestion(QMessageBox::No);
  QTest::mouseClick(window->ClearButton, Qt::LeftButton);
  EXPECT_EQ(window->Table->rowCount(), 2);
  AnswerNextQuestion(QMessageBox::Yes);
  QTest::mouseClick(window->ClearButton, Qt::LeftButton);
  EXPECT_EQ(window->Table->rowCount(), 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(store())));
}

TEST_F(ProtocolWindowTest, OneRowHasNoUncertaintyAndLargeAmplitudesAreFlagged) {
  reading = {300, 644, 200};
  QTest::mouseClick(window->RecordButton, Qt::LeftButton);
  EXPECT_FALSE(window->ResultLabel->text().contains(QStringLiteral("±")));
  EXPECT_TRUE(window->WarningLabel->text().startsWith("Zeile 1: Amplitude 200 bei 300 V ist zu groß"))
      << window->WarningLabel->text().toStdString();
}

TEST_F(ProtocolWindowTest, ReopenedWindowShowsTheStoredRows) {
  QTest::mouseClick(window->RecordButton, Qt::LeftButton);
  window->OrderBox->setValue(3);
  QTest::mouseClick(window->RecordButton, Qt::LeftButton);
  const std::vector<Measurement> rows = window->Rows();
  window.reset();
  Open();
  EXPECT_EQ(window->Rows(), rows);
  EXPECT_EQ(window->Table->rowCount(), 2);
}

TEST_F(ProtocolWindowTest, DamagedStoreIsKeptAsideAndTheTableStartsEmpty) {
  window.reset();
  ASSERT_TRUE(QDir().mkpath(folder.filePath("daten")));
  QFile file(QString::fromStdString(store()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("U in V;I in A;k;Amplitude\n1200;1,2");
  file.close();
  Open();
  EXPECT_TRUE(window->Rows().empty());
  EXPECT_TRUE(window->StatusLabel->text().contains("Zeile 2")) << window->StatusLabel->text().toStdString();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(store() + ".defekt")));
}

TEST_F(ProtocolWindowTest, RowsSurviveAKilledProcess) {
  window.reset();
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(),
              {"--protocol-crash-child", QString::fromStdString(store())});
  ASSERT_TRUE(child.waitForReadyRead(10000));
  EXPECT_EQ(child.readLine().trimmed(), "recorded");
  child.kill();  // SIGKILL: no destructor, no close event
  child.waitForFinished();
  QFile leftover(QString::fromStdString(store() + ".tmp-AbC123"));  // as a cut-off save leaves it
  ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  leftover.close();
  Open();
  EXPECT_FALSE(leftover.exists());
  ASSERT_EQ(window->Rows().size(), 3u);
  EXPECT_EQ(window->Rows()[2], (Measurement{600, 0.7, 1, 50}));
}

TEST_F(ProtocolWindowTest, DamagedImportLeavesTheTableAlone) {
  QTest::mouseClick(window->RecordButton, Qt::LeftButton);
  const QString damaged = folder.filePath("kaputt.csv");
  QFile file(damaged);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("U in V;I in A;k\n1200;1,23;1\n1200;1,23;9\n");
  file.close();
  EXPECT_FALSE(window->ImportCsv(damaged));
  EXPECT_EQ(window->Rows().size(), 1u);
  EXPECT_TRUE(window->StatusLabel->text().contains("Zeile 3: k = "));

  const QString good = folder.filePath("gut.csv");
  ASSERT_TRUE(window->ExportCsv(good));
  EXPECT_TRUE(window->ImportCsv(good));
  EXPECT_EQ(window->Rows()[0].amplitude, std::nullopt);  // the file has no amplitudes
}

TEST_F(ProtocolWindowTest, PlotAndPageFiles) {
  for (auto [voltage, current] : {std::pair{500, 794}, {1200, 1230}, {2000, 1584}}) {
    reading = {voltage, current, 200};
    QTest::mouseClick(window->RecordButton, Qt::LeftButton);
  }
  const QString png = folder.filePath("plot.png"), svg = folder.filePath("plot.svg"),
                pdf = folder.filePath("protokoll.pdf");
  ASSERT_TRUE(window->SavePlotPng(png));
  ASSERT_TRUE(window->SavePlotSvg(svg));
  ASSERT_TRUE(window->SavePdf(pdf));
  const QImage image(png);
  EXPECT_EQ(image.size(), QSize(1600, 1000));
  QFile svg_file(svg), pdf_file(pdf);
  ASSERT_TRUE(svg_file.open(QIODevice::ReadOnly));
  const QByteArray svg_text = svg_file.readAll();
  EXPECT_TRUE(svg_text.contains("<svg") && svg_text.contains("I² in A²"));
  ASSERT_TRUE(pdf_file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf_file.readAll().startsWith("%PDF-"));
  EXPECT_FALSE(window->SavePdf(folder.filePath("fehlt/protokoll.pdf")));
  EXPECT_TRUE(window->StatusLabel->text().contains("nicht gefunden"));
}

TEST(ProtocolFromMainWindowTest, ButtonAndShortcutOpenItAndRowsTakeTheSettings) {
  TForm1 form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.Protocol->ClearAll();
  // Under the information page at start, like every working control.
  EXPECT_NE(form.childAt(form.ProtocolButton->geometry().center()), form.ProtocolButton);
  QTest::mouseClick(form.Button14, Qt::LeftButton);  // "Weiter"
  EXPECT_EQ(form.childAt(form.ProtocolButton->geometry().center()), form.ProtocolButton);
  for (QWidget* control : form.findChildren<QWidget*>()) {
    if (control != form.ProtocolButton && control->parentWidget() == &form &&
        control != form.Panel4 && !control->isWindow()) {
      EXPECT_FALSE(control->geometry().intersects(form.ProtocolButton->geometry()))
          << control->metaObject()->className();
    }
  }
  EXPECT_FALSE(form.Protocol->isVisible());
  QTest::mouseClick(form.ProtocolButton, Qt::LeftButton);
  EXPECT_TRUE(form.Protocol->isVisible());
  form.Protocol->hide();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::keyClick(&form, Qt::Key_M, Qt::ControlModifier);
  EXPECT_TRUE(form.Protocol->isVisible());

  form.ScrollBar4->SetPosition(300);
  form.ScrollBar7->SetPosition(613);
  form.ScrollBar3->SetPosition(25);
  form.Protocol->OrderBox->setValue(2);
  QTest::mouseClick(form.Protocol->RecordButton, Qt::LeftButton);
  ASSERT_EQ(form.Protocol->Rows().size(), 1u);
  EXPECT_EQ(form.Protocol->Rows()[0], (Measurement{300, 0.613, 2, 25}));
  form.Protocol->ClearAll();
}

}  // namespace
}  // namespace varek::testing
