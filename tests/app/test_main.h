// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A test program that is also a child process of its own tests: a static
// ChildMode makes `program FLAG ARGUMENT` run `run(ARGUMENT)` inside the
// application object instead of the tests (tests/app/main.cpp).
#pragma once

namespace varek::testing {

struct ChildMode {
  ChildMode(const char* flag, int (*run)(const char* argument));
  const char* flag;
  int (*run)(const char* argument);
};

}  // namespace varek::testing
