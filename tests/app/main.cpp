// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the Qt test programs: runs the tests inside one application
// object, in Qt's test mode (the window keeps its files in the user's data
// folder: never the real one). Qt's test folders lie under the home folder,
// which each test program gets for itself: CTest runs the tests side by side,
// and one that records a reading must not change the table another counts.
// Children share their parent's. Listing the tests needs no display. With a
// child flag (test_main.h) the program is instead that child.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

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
  std::filesystem::path own_home;
  if (std::getenv("VAREK_TEST_HOME") == nullptr) {
    std::string folder = (std::filesystem::temp_directory_path() / "varek-test-XXXXXX").string();
    if (mkdtemp(folder.data()) != nullptr) {
      own_home = folder;
      setenv("VAREK_TEST_HOME", folder.c_str(), 1);
      setenv("HOME", folder.c_str(), 1);
    }
  }
  int result = 1;
  {
    QApplication application(argc, argv);
    if (varek::SetUpApplicationLook()) result = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  if (!own_home.empty()) std::filesystem::remove_all(own_home, ignored);
  return result;
}
