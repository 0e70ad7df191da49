// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A model started up as the window does it, with a message pump that counts
// its calls and can run a hook like a handler would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "model/model.h"

namespace varek {

struct CountingPump : MessagePump {
  int calls = 0;
  std::function<void()> hook;  // runs inside the pump, as a handler would
  void Pump() override {
    ++calls;
    if (hook) hook();
  }
};

// The settings the paths depend on, in the order the tests list them.
inline Settings Paths(int voltage, int current, bool deflection, bool steady, int amplitude = 200) {
  Settings s;
  s.voltage = voltage;
  s.current = current;
  s.deflection_on = deflection;
  s.steady = steady;
  s.amplitude = amplitude;
  return s;
}

class ModelTest : public ::testing::Test {
 protected:
  ModelTest() { model.SetMessagePump(&pump); }
  void Compute() { model.ComputeTrajectories(settings); }

  Settings settings;
  CountingPump pump;
  Model model{settings};
  Scene& sc = model.mutable_scene();
};

inline Vec3i Point(int x, int y, int z) { return Vec3i{x, y, z}; }

inline void PrintTo(const Vec3i& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

}  // namespace varek
