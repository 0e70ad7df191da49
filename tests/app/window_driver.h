// Driving the real window in tests: a fresh scene and window per test, clicks
// where a user would click, waiting for the event loop to settle, and the
// stored paths for comparison.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "model/plain_controls.h"
#include "model/vec3i.h"
#include "render/deflection_signal.h"
#include "render/scene_renderer.h"

namespace varek::testing {

struct StoredPaths {
  int total = 0;
  std::vector<std::vector<Vec3i>> paths;  // paths 1..total, their valid samples
  friend bool operator==(const StoredPaths&, const StoredPaths&) = default;
};
StoredPaths CurrentPaths();

// What the window shows, in the order it was shown: "scene" (with the number
// of full computations finished by then and TrajectoryTotal at that moment)
// or "signal".
struct Shown {
  std::string what;
  int full_passes = 0;
  int trajectory_total = 0;
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

  PlainControls SettingsOfWindow() const;
  // The paths a fresh computation gives for the window's present settings;
  // the window's bindings are restored afterwards.
  StoredPaths FreshPaths();

  std::unique_ptr<TForm1> form;
  std::vector<Shown> shown;

 private:
  struct Recorder;
  std::unique_ptr<Recorder> recorder_;
};

}  // namespace varek::testing
