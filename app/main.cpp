// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: the command line, application object, fonts, the window,
// the message loop.
#include <QApplication>
#include <QIcon>

#include "app/command_line.h"
#include "app/form1.h"
#include "app/toolkit/look.h"
#include "app/window_presentation.h"

int main(int argc, char* argv[]) {
  const varek::CommandLine command_line = varek::ParseCommandLine(argc, argv);
  if (command_line.action != varek::CommandLine::Action::Run) {
    return varek::ReportCommandLine(command_line);
  }
  QApplication application(argc, argv);
  // The installed icon and desktop entry (packaging/) name the window.
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("varek-em")));
  QGuiApplication::setDesktopFileName(QStringLiteral("varek-em"));
  varek::SetUpApplicationLook();
  varek::TForm1 form(command_line.settings, command_line.prepared);  // runs FormCreate too
  varek::WindowPresentation presentation(
      form, [&form](const QSize& room) { return form.ArrangeFor(room); });
  form.OnShownSizeChange = [&presentation] { presentation.Refit(); };
  presentation.Show();  // maximized, scaled where the screen is too small
  return QApplication::exec();
}
