// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the protocol tests inside one application object; with
// --protocol-crash-child STORE it is instead the child that records and is killed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstring>

#include "app/toolkit/look.h"

namespace varek::testing {
int RunProtocolCrashChild(const char* store);
}

int main(int argc, char* argv[]) {
  // The protocol keeps its table in the user's data folder: never the real one.
  QStandardPaths::setTestModeEnabled(true);
#ifdef VAREK_TEST_RUNTIME_DIR
  if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", VAREK_TEST_RUNTIME_DIR);
#endif
  if (argc == 3 && std::strcmp(argv[1], "--protocol-crash-child") == 0) {
    QApplication application(argc, argv);
    return varek::testing::RunProtocolCrashChild(argv[2]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  if (!varek::SetUpApplicationLook()) return 1;
  return RUN_ALL_TESTS();
}
