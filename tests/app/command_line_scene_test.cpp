// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window started with settings on its command line shows, past the
// information page, the very picture varek-render draws for the same flags.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <iterator>

#include "app/command_line.h"
#include "app/form1.h"

namespace varek {
namespace {

TEST(CommandLineScene, TheWindowShowsWhatVarekRenderDraws) {
  const char* const argv[] = {"varek-em",     "--voltage", "800",    "--current", "1500",
                              "--deflection", "on",        "--mode", "ac"};
  const CommandLine line = ParseCommandLine(static_cast<int>(std::size(argv)), argv);
  ASSERT_EQ(line.action, CommandLine::Action::Run) << line.refusal;

  TForm1 form(line.settings, line.prepared);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(QTest::qWaitFor(
      [&form] {
        return form.Activated() && !form.chain().Running() && form.PaintBox1->PresentCount() > 0 &&
               !form.PaintBox1->PaintHandlerPending();
      },
      5000));
  EXPECT_FALSE(form.Panel4->isVisible()) << "prepared settings open past the information page";
  EXPECT_TRUE(form.Panel11->isVisible()) << "the deflection is on";
  EXPECT_EQ(form.Edit5->text(), "1,5");

  QTemporaryDir folder;
  const QString picture = folder.filePath("szene.png");
  QStringList arguments;
  for (std::size_t i = 1; i < std::size(argv); ++i) arguments << argv[i];
  arguments << "--out" << picture;
  ASSERT_EQ(QProcess::execute(QStringLiteral(VAREK_RENDER), arguments), 0);
  const QImage drawn(picture);
  ASSERT_FALSE(drawn.isNull());
  EXPECT_TRUE(form.PaintBox1->Image().convertToFormat(QImage::Format_RGB32) ==
              drawn.convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace varek
