// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol panel driven through real clicks: refusals, the shared store
// (another copy's rows, a killed process, a damaged store), import with its
// question, the files, and the panel in the main window with its keys and
// its dialogs outside the scaled form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <thread>

#include <unistd.h>

#include "app/dialog_parent.h"
#include "app/form1.h"
#include "app/protocol/protocol_panel.h"
#include "app/protocol/protocol_plot_view.h"
#include "app/scaled_host.h"
#include "app/toolkit/controls.h"
#include "measurement/protocol_csv.h"
#include "tests/app/test_main.h"

namespace varek::testing {

Reading Focused(int voltage, int current, int amplitude) {
  Reading r;
  r.voltage = voltage;
  r.current = current;
  r.amplitude = amplitude;
  r.deflection_on = true;
  r.steady = false;
  return r;
}

// Run as a child process: records three rows, says so, then waits to be killed.
int RunProtocolCrashChild(const char* store) {
  int voltage = 300;
  ProtocolPanel panel(nullptr, store, [&] { return Focused(voltage += 100, 700, 50); });
  for (int i = 0; i < 3; ++i) panel.Record();
  std::printf("recorded\n");
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}
const ChildMode crash_child("--protocol-crash-child", RunProtocolCrashChild);

namespace {

// Answers the next question box with the button of that caption.
void AnswerNextQuestion(const QString& caption) {
  QTimer::singleShot(0, [caption] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);  // a file's name is never markup
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == caption) QTest::mouseClick(button, Qt::LeftButton);
    }
  });
}

// What the panel's table shows: its rows, a cell's text (or check box).
int Rows(const ProtocolPanel& panel) { return panel.Table->model()->rowCount(); }
QVariant Data(const ProtocolPanel& panel, int row, int column, int role = Qt::DisplayRole) {
  return panel.Table->model()->index(row, column).data(role);
}

class ProtocolPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    panel = Open();
  }
  std::unique_ptr<ProtocolPanel> Open() {
    auto opened = std::make_unique<ProtocolPanel>(nullptr, store(), [this] { return reading; });
    opened->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(opened.get()));
    return opened;
  }
  // In a folder that the first save makes, as the user's data folder at the first start.
  std::string store() const { return folder.filePath("daten/protokoll.csv").toStdString(); }
  QString Cell(int row, int column) const { return Data(*panel, row, column).toString(); }
  void Write(const QString& name, const QByteArray& text) const {
    QDir().mkpath(QFileInfo(folder.filePath(name)).path());
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  QTemporaryDir folder;
  Reading reading = Focused(1200, 1230, 200);
  std::unique_ptr<ProtocolPanel> panel;
};

TEST_F(ProtocolPanelTest, RefusedReadingsLeaveTheTableAndOthersAreRecordedDeletedAndCleared) {
  const struct {
    Reading reading;
    int order;
    const char* status;  // how the status line begins
  } steps[] = {
      {Focused(1200, 0, 200), 1, "Bei 0 A Spulenstrom gibt es keinen Fokus"},
      {Focused(1200, 1230, 200), 1,
       "Messwert Nr. 1 übernommen: U = 1200 V, I = 1,230 A, k = 1, Amplitude 200 "
       "(Wechselspannung)."},
      {Focused(300, 613, 25), 1, "Messwert Nr. 2 übernommen"},
      {Focused(800, 2007, 100), 2, "Messwert Nr. 3 übernommen"},
  };
  for (const auto& step : steps) {
    reading = step.reading;
    panel->OrderBox->setValue(step.order);
    panel->UncertaintyBox->setValue(step.order == 2 ? 12 : 0);
    QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
    EXPECT_TRUE(panel->StatusText->toPlainText().startsWith(QString::fromUtf8(step.status)))
        << panel->StatusText->toPlainText().toStdString();
  }
  reading.deflection_on = false;
  QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  ASSERT_EQ(Rows(*panel), 3);
  const QStringList third = {"3", "800", "2,007", "12", "2", "100 ~", "12,610", "1,7605"};
  for (int c = 0; c < third.size(); ++c) EXPECT_EQ(Cell(2, c), third[c]) << c;
  EXPECT_TRUE(panel->ResultText->toPlainText().startsWith(QStringLiteral("e/m = (1,7")));
  EXPECT_TRUE(panel->ResultText->toPlainText().contains(
      QStringLiteral("Abweichung vom Literaturwert 1,75882 · 10¹¹ C/kg: ")));
  // The check box "in Auswertung" takes a row out of the result and back in.
  const QString all = panel->ResultText->toPlainText();
  const QRect box = panel->Table->visualRect(panel->Table->model()->index(0, 0));
  QTest::mouseClick(panel->Table->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(box.left() + 10, box.center().y()));
  EXPECT_EQ(panel->Rows()[0].values.inclusion, Inclusion::Out);
  EXPECT_TRUE(panel->ResultText->toPlainText().endsWith(
      QStringLiteral("Nr. 1 nicht berücksichtigt (abgewählt)")));
  EXPECT_EQ(panel->StatusText->toPlainText(), "Messwert Nr. 1 aus der Auswertung genommen.");
  ASSERT_TRUE(panel->Include(0, true));
  EXPECT_EQ(panel->ResultText->toPlainText(), all);
  EXPECT_EQ(Data(*panel, 0, 0, Qt::CheckStateRole), Qt::Checked);

  QTest::mouseClick(panel->Table->viewport(), Qt::LeftButton, Qt::NoModifier,
                    panel->Table->visualRect(panel->Table->model()->index(1, 0)).center());
  QTest::mouseClick(panel->DeleteButton, Qt::LeftButton);
  ASSERT_EQ(Rows(*panel), 2);
  EXPECT_EQ(Cell(1, 0), "2");  // renumbered
  EXPECT_EQ(Cell(1, 1), "800");

  AnswerNextQuestion(QStringLiteral("Nein"));
  QTest::mouseClick(panel->ClearButton, Qt::LeftButton);
  EXPECT_EQ(Rows(*panel), 2);
  AnswerNextQuestion(QStringLiteral("Ja"));
  QTest::mouseClick(panel->ClearButton, Qt::LeftButton);
  EXPECT_EQ(Rows(*panel), 0);
  // "Rückgängig" brings them back, once.
  ASSERT_TRUE(panel->UndoButton->isEnabled());
  QTest::mouseClick(panel->UndoButton, Qt::LeftButton);
  EXPECT_EQ(Rows(*panel), 2);
  EXPECT_EQ(Cell(1, 1), "800");
  EXPECT_EQ(panel->StatusText->toPlainText(), "2 Messwerte wiederhergestellt (Nr. 1 und 2).");
  EXPECT_FALSE(panel->UndoButton->isEnabled());
  panel->ClearAll();
  QFile stored(QString::fromStdString(store()));
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll(),
            "Kennung;U in V;I in A;k;Amplitude;Ablenkung;\xCE\x94I in A;in Auswertung\n");
}

// Another copy of the program on the same store: what it records shows here
// without a click, and deleting here leaves its other rows alone.
TEST_F(ProtocolPanelTest, AnotherCopysRowsShowAndStay) {
  std::unique_ptr<ProtocolPanel> other = Open();
  QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(Rows(*other), 1, 5000);
  reading = Focused(300, 614, 60);
  QTest::mouseClick(other->RecordButton, Qt::LeftButton);
  QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  EXPECT_EQ(panel->Rows().size(), 3u);
  QTRY_COMPARE_WITH_TIMEOUT(Rows(*other), 3, 5000);
  other->Table->selectRow(0);
  other->DeleteSelected();
  QTRY_COMPARE_WITH_TIMEOUT(Rows(*panel), 2, 5000);
  EXPECT_EQ(panel->Rows(), other->Rows());
  EXPECT_EQ(panel->StatusText->toPlainText(), "");  // "Messwert Nr. 3" is gone
}

// A folder that cannot be written: the reading stays in the table, the
// panel names the folder once, and stores every row as soon as it can.
TEST_F(ProtocolPanelTest, ReadingsWaitForAFolderThatCannotBeWritten) {
  QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  const auto read_only = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                         QFile::ReadOther | QFile::ExeOther;
  QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) | read_only);
  QFile::setPermissions(folder.filePath("daten"), read_only);
  // Permissions do not stop root: then as another user.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::seteuid(65534), 0);
  }
  for (int current : {614, 615}) {
    reading = Focused(300, current, 60);
    QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  }
  std::unique_ptr<ProtocolPanel> other = Open();  // starts with the stored rows, read-only
  if (root) {
    ASSERT_EQ(::seteuid(0), 0);
  }
  ASSERT_EQ(Rows(*panel), 3);
  const QString status = panel->StatusText->toPlainText();
  EXPECT_TRUE(status.startsWith("Messwert Nr. 3 übernommen") &&
              status.endsWith("(noch nicht gesichert)"))
      << status.toStdString();
  EXPECT_EQ(Rows(*other), 1);
  EXPECT_EQ(other->Table->model()->headerData(0, Qt::Horizontal).toString(), "Nr.");
  EXPECT_TRUE(other->StatusText->toPlainText().contains("Ordner „" + folder.filePath("daten") +
                                                        "“ nicht beschreibbar"))
      << other->StatusText->toPlainText().toStdString();
  QFile::setPermissions(folder.filePath("daten"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QTRY_VERIFY_WITH_TIMEOUT(panel->StatusText->toPlainText().startsWith("Gesichert"), 5000);
  QTest::qWait(500);  // the store's folder reports the save: the message stays
  EXPECT_TRUE(panel->StatusText->toPlainText().startsWith("Gesichert"));
  QTRY_COMPARE_WITH_TIMEOUT(Rows(*other), 3, 5000);
  QFile stored(QString::fromStdString(store()));
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll().count('\n'), 4);
}

// Another program empties the store while the window runs (an editor
// saving in place truncates first): the window's rows stay.
TEST_F(ProtocolPanelTest, StoreEmptiedByAnotherProgramKeepsTheRows) {
  for (int current : {1230, 1231}) {
    reading = Focused(1200, current, 200);
    QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  }
  QFile::resize(QString::fromStdString(store()), 0);
  QTRY_VERIFY_WITH_TIMEOUT(panel->StatusText->toPlainText().contains("Zeilen verloren"), 5000);
  EXPECT_EQ(Rows(*panel), 2);
  EXPECT_EQ(Open()->Rows(), panel->Rows());  // stored again
}

TEST_F(ProtocolPanelTest, RowsSurviveAKilledProcess) {
  panel.reset();
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(),
              {"--protocol-crash-child", QString::fromStdString(store())});
  ASSERT_TRUE(child.waitForReadyRead(10000));
  EXPECT_EQ(child.readLine().trimmed(), "recorded");
  child.kill();  // SIGKILL: no destructor, no close event
  child.waitForFinished();
  Write("daten/protokoll.csv.tmp-AbC123", "");  // as a cut-off save leaves it
  panel = Open();
  EXPECT_FALSE(QFile::exists(folder.filePath("daten/protokoll.csv.tmp-AbC123")));
  ASSERT_EQ(panel->Rows().size(), 3u);
  EXPECT_EQ(panel->Rows()[2].values, (Measurement{600, 0.7, 1, 50, Deflection::Alternating}));
}

TEST_F(ProtocolPanelTest, DamagedStoreKeepsItsGoodRows) {
  panel.reset();
  Write("daten/protokoll.csv",
        "Kennung;U in V;I in A;k;Amplitude;Ablenkung\na1;1200;1,23;1;200;Wechselspannung\n"
        "a2;1200;1,2\na3;300;0,614;1;60;Gleichspannung\n");
  panel = Open();
  EXPECT_EQ(Rows(*panel), 2);
  EXPECT_TRUE(panel->StatusText->toPlainText().contains("Zeile 3: 3 Felder statt 6"))
      << panel->StatusText->toPlainText().toStdString();
  EXPECT_TRUE(QFile::exists(folder.filePath("daten/protokoll.csv.defekt-1")));
}

TEST_F(ProtocolPanelTest, ImportAsksAndExportKeepsTheAmplitude) {
  QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  Write("kaputt.csv", "U in V;I in A;k\n1200;1,23;1\n1200;1,23;9\n");
  EXPECT_FALSE(panel->ImportCsv(folder.filePath("kaputt.csv")));
  EXPECT_EQ(panel->StatusText->toPlainText(),
            QStringLiteral("„kaputt.csv“, Zeile 3: k = „9“ ist nicht erlaubt, erwartet eine ganze "
                           "Zahl von 1 bis 4. Die Tabelle bleibt, wie sie war."));
  const QString exported = folder.filePath("export.csv");
  ASSERT_TRUE(panel->ExportCsv(exported));
  QFile file(exported);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            "U in V;I in A;k;Amplitude;Ablenkung;\xCE\x94I in A;in Auswertung\n"
            "1200;1,230;1;200;Wechselspannung;;\n");
  for (const auto& [answer, rows] : {std::pair{"Abbrechen", 1}, {"Anhängen", 2}, {"Ersetzen", 1}}) {
    AnswerNextQuestion(QString::fromUtf8(answer));
    panel->ImportCsv(exported);
    EXPECT_EQ(Rows(*panel), rows) << answer;
  }
  EXPECT_EQ(panel->Rows()[0].values.amplitude, 200);
  EXPECT_EQ(panel->Rows()[0].values.deflection, Deflection::Alternating);
}

TEST_F(ProtocolPanelTest, PlotAndPageFiles) {
  for (auto [voltage, current] : {std::pair{500, 794}, {1200, 1230}, {2000, 1584}}) {
    reading = Focused(voltage, current, 200);
    QTest::mouseClick(panel->RecordButton, Qt::LeftButton);
  }
  const QString png = folder.filePath("plot.png"), svg = folder.filePath("plot.svg"),
                pdf = folder.filePath("protokoll.pdf");
  ASSERT_TRUE(panel->SavePlotPng(png));
  ASSERT_TRUE(panel->SavePlotSvg(svg));
  ASSERT_TRUE(panel->SavePdf(pdf));
  EXPECT_EQ(QImage(png).size(), QSize(1600, 1000));
  QFile svg_file(svg), pdf_file(pdf);
  ASSERT_TRUE(svg_file.open(QIODevice::ReadOnly));
  const QByteArray svg_text = svg_file.readAll();
  EXPECT_TRUE(svg_text.contains("<svg") && svg_text.contains("I² in A²"));
  ASSERT_TRUE(pdf_file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf_file.readAll().startsWith("%PDF-"));
  EXPECT_FALSE(panel->SavePdf(folder.filePath("fehlt/protokoll.pdf")));
  EXPECT_TRUE(panel->StatusText->toPlainText().contains("nicht gefunden"));
  // The widget draws the plan the core made for its size.
  const PlotPlan plan = panel->Plot->Plan();
  EXPECT_EQ(plan.width, panel->Plot->width());
  EXPECT_EQ(plan.marks.size(), 3u);
}

TEST(ProtocolInMainWindowTest, KeysPanelSizeAndDialogsOutsideTheScaledForm) {
  TForm1 form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.Protocol->ClearAll();
  int refits = 0;
  form.OnShownSizeChange = [&] { ++refits; };
  // Under the information page nothing opens it.
  QTest::keyClick(&form, Qt::Key_M, Qt::ControlModifier);
  EXPECT_TRUE(form.Protocol->isHidden());
  QTest::mouseClick(form.Button14, Qt::LeftButton);  // "Weiter"
  EXPECT_EQ(form.ShownSize(), QSize(1004, 721));
  QTest::mouseClick(form.ProtocolButton, Qt::LeftButton);
  EXPECT_FALSE(form.Protocol->isHidden());
  EXPECT_EQ(form.ShownSize(), QSize(1004, 721));  // the panels lie over working controls
  // A wide room takes the protocol beside the form, its table and plot
  // under the recording; a 4:3 room puts it back.
  EXPECT_EQ(form.ArrangeFor({1920, 1061}), QSize(1481, 721));
  EXPECT_EQ(form.Protocol->geometry(), QRect(1001, 8, 472, 324));
  EXPECT_EQ(form.Protocol->Table->geometry(), QRect(8, 8, 456, 197));
  EXPECT_EQ(form.ArrangeFor({1008, 730}), QSize(1004, 721));
  EXPECT_EQ(form.Protocol->Readings->geometry(), QRect(8, 566, 745, 147));
  EXPECT_EQ(form.Protocol->Table->geometry(), QRect(8, 8, 456, 131));
  EXPECT_FALSE(form.Protocol->Readings->isHidden());
  EXPECT_EQ(refits, 1);
  QTest::keyClick(&form, Qt::Key_M, Qt::ControlModifier);
  EXPECT_TRUE(form.Protocol->isHidden());

  // Ctrl+Enter records from anywhere, showing the panel; the deflection off is refused.
  form.ScrollBar4->SetPosition(300);
  form.ScrollBar7->SetPosition(613);
  QTest::keyClick(form.ScrollBar7, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_FALSE(form.Protocol->isHidden());
  EXPECT_TRUE(form.Protocol->Rows().empty());
  EXPECT_TRUE(form.Protocol->StatusText->toPlainText().startsWith("Ohne Ablenkspannung"));
  QTest::mouseClick(form.AblenkEin, Qt::LeftButton, Qt::NoModifier,
                    QPoint(6, form.AblenkEin->height() / 2));
  form.ScrollBar3->SetPosition(25);
  form.Protocol->OrderBox->setValue(2);
  QTest::keyClick(form.ScrollBar4, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
  ASSERT_EQ(form.Protocol->Rows().size(), 1u);
  EXPECT_EQ(form.Protocol->Rows()[0].values, (Measurement{300, 0.613, 2, 25, Deflection::Steady}));
  QTest::mouseClick(form.Button6, Qt::LeftButton);  // "Daten" covers the settings
  QTest::mouseClick(form.Protocol->RecordButton, Qt::LeftButton);
  EXPECT_EQ(form.Protocol->Rows().size(), 1u);
  EXPECT_TRUE(form.Protocol->StatusText->toPlainText().startsWith("Die Seite „Daten“ verdeckt"));
  QTest::mouseClick(form.Button7, Qt::LeftButton);  // closes "Daten": the refusal is gone
  EXPECT_EQ(form.Protocol->StatusText->toPlainText(), "");
  // Ctrl+Z puts a deleted row back, also with the panel hidden.
  form.Protocol->Table->selectRow(0);
  form.Protocol->DeleteSelected();
  form.ShowProtocol(false);
  QTest::keyClick(form.ScrollBar4, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(form.Protocol->isHidden());
  EXPECT_EQ(form.Protocol->Rows().size(), 1u);

  // Dialogs belong to the window the user sees: the form itself, or the
  // window that shows it scaled.
  EXPECT_EQ(DialogParent(form.Protocol->ClearButton), &form);
  {
    ScaledHost host(form);
    host.SetScale(0.7, form.ShownSize());
    EXPECT_EQ(DialogParent(form.Protocol->ClearButton), &host);
  }
  form.Protocol->ClearAll();
}

}  // namespace
}  // namespace varek::testing
