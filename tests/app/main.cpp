// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the window tests inside one application object. Listing the tests
// needs no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstring>

#include "app/toolkit/look.h"

int main(int argc, char* argv[]) {
  // The window keeps its protocol in the user's data folder: never the real one.
  QStandardPaths::setTestModeEnabled(true);
#ifdef VAREK_TEST_RUNTIME_DIR
  if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", VAREK_TEST_RUNTIME_DIR);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  if (!varek::SetUpApplicationLook()) return 1;
  return RUN_ALL_TESTS();
}
