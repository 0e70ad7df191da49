// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the Qt test programs: runs the tests inside one application
// object, in Qt's test mode (the window keeps its files in the user's data
// folder: never the real one). Listing the tests needs no display. With a
// child flag (test_main.h) the program is instead that child.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstring>

#include "app/toolkit/look.h"
#include "tests/app/test_main.h"

namespace varek::testing {
namespace {
ChildMode* child_mode = nullptr;
}
ChildMode::ChildMode(const char* flag, int (*run)(const char* argument)) : flag(flag), run(run) {
  child_mode = this;
}
}  // namespace varek::testing

int main(int argc, char* argv[]) {
  QStandardPaths::setTestModeEnabled(true);
#ifdef VAREK_TEST_RUNTIME_DIR
  if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
    qputenv("XDG_RUNTIME_DIR", VAREK_TEST_RUNTIME_DIR);
#endif
  const varek::testing::ChildMode* child = varek::testing::child_mode;
  if (child != nullptr && argc == 3 && std::strcmp(argv[1], child->flag) == 0) {
    QApplication application(argc, argv);
    return child->run(argv[2]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  if (!varek::SetUpApplicationLook()) return 1;
  return RUN_ALL_TESTS();
}
