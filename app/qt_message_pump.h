// The message pump that a running computation calls every 30 steps.
#pragma once

#include "model/controls.h"

namespace varek {

class QtMessagePump : public MessagePump {
 public:
  // Runs every pending window event and returns.
  void Pump() override;
};

// Nesting depth of Pump calls now, and the deepest seen since the last reset.
int PumpDepth();
int MaxPumpDepth();
void ResetMaxPumpDepth();

}  // namespace varek
