// Controls held as plain values and a message pump that does nothing, for the
// tests and the developer tools that run the model without a window.
#pragma once

#include "model/controls.h"

namespace varek {

// Starts at the window's initial settings: 1200 V, 0 mA, deflection off,
// steady voltage, amplitude 200, view at 5 and -25 degrees.
struct PlainControls : Controls {
  int turn_axis = 5;       // ScrollBar1, degrees
  int turn_vertical = -25; // ScrollBar2, degrees
  int amplitude = 200;     // ScrollBar3
  int voltage = 1200;      // ScrollBar4, V
  int current = 0;         // ScrollBar7, mA
  bool deflection_on = false;
  bool steady = true;      // Gleichspannung; otherwise Wechselspannung
  bool see_through_screen = false;

  int ScrollBar1() const override { return turn_axis; }
  int ScrollBar2() const override { return turn_vertical; }
  int ScrollBar3() const override { return amplitude; }
  int ScrollBar4() const override { return voltage; }
  int ScrollBar7() const override { return current; }
  bool AblenkEin() const override { return deflection_on; }
  bool AblenkAus() const override { return !deflection_on; }
  bool Gleichspannung() const override { return steady; }
  bool Wechselspannung() const override { return !steady; }
  bool CheckBox1() const override { return see_through_screen; }
};

struct IdlePump : MessagePump {
  void Pump() override {}
};

}  // namespace varek
