// A scene started up as the window does it, over plain control values and a
// message pump that counts its calls and can run a hook like a handler would.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "model/controls.h"
#include "model/plain_controls.h"
#include "model/scene.h"
#include "model/trajectories.h"

namespace varek {

struct CountingPump : MessagePump {
  int calls = 0;
  std::function<void()> hook;  // runs inside the pump, as a handler would
  void Pump() override {
    ++calls;
    if (hook) hook();
  }
};

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BindControls(&controls);
    BindMessagePump(&pump);
    ResetScene();
    StartUpModel();
    BuildCoilAndRings();
  }
  void TearDown() override {
    BindControls(nullptr);
    BindMessagePump(nullptr);
  }
  // The head of the recomputation chain.
  void Compute() {
    InitApparatus();
    ComputeTrajectories();
  }

  PlainControls controls;
  CountingPump pump;
};

inline Vec3i Point(int x, int y, int z) { return Vec3i{x, y, z}; }

inline void PrintTo(const Vec3i& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

}  // namespace varek
