// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Driving the real window in tests: a fresh window per test, clicks where a
// user would click, waiting for the event loop to settle, and the stored
// paths for comparison.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "model/scene.h"
#include "model/vec3i.h"
#include "render/simulation.h"

namespace varek {
inline void PrintTo(const Vec3i& p, std::ostream* out) {
  *out << '(' << p.x << ", " << p.y << ", " << p.z << ')';
}
}  // namespace varek

namespace varek::testing {

struct StoredPaths {
  int total = 0;
  std::vector<std::vector<Vec3i>> paths;  // paths 1..total, their valid samples
  friend bool operator==(const StoredPaths&, const StoredPaths&) = default;
};
void PrintTo(const StoredPaths& stored, std::ostream* out);
StoredPaths PathsOf(const Scene& scene);
// The paths a simulation of its own computes for `settings`.
StoredPaths PathsFor(const Settings& settings);

// What the window painted from a presentation, in the order it was painted:
// "scene" (with the number of full computations finished by then and the
// stored paths it was drawn from) or "signal". A picture presented into a
// hidden paint box is not painted and not listed.
struct Shown {
  std::string what;
  int full_passes = 0;
  StoredPaths paths;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;
  void SetUp() override;
  void TearDown() override;

  // Clicks a button as a user would: push buttons in the middle, check boxes
  // and radio buttons on their indicator near the left edge.
  static void Click(QAbstractButton* button);
  // Runs the event loop until no chain runs and no paint handler is pending.
  void Settle();
  // Runs the application's event loop as the program does; returns its exit
  // code, or 99 if it has not ended after 10 s.
  static int RunEventLoop();
  // "Weiter" and everything it leads to.
  void ShowScene();

  const Scene& scene() const { return form->simulation().scene(); }
  StoredPaths CurrentPaths() const { return PathsOf(scene()); }
  // The paths a fresh computation gives for the window's present settings.
  StoredPaths FreshPaths() const { return PathsFor(form->CurrentSettings()); }
  int FullPasses() const { return form->chain().Counts().full_passes; }

  std::unique_ptr<TForm1> form;
  std::vector<Shown> shown;

 private:
  struct Recorder;
  std::unique_ptr<Recorder> recorder_;
};

}  // namespace varek::testing
