// The message pump that a running computation calls every 30 steps.
#pragma once

#include "model/controls.h"

namespace varek {

class QtMessagePump : public MessagePump {
 public:
  // Runs every pending window event and returns. A pass over the event loop
  // costs about 1.5 us even when nothing is pending, as much as 20
  // integration steps; so after a pass that found nothing, the next pass
  // comes only once QuietPassIntervalNs has gone by. An event waits at most
  // that long (plus one block of 30 steps) before it runs; while events keep
  // coming, every call makes a pass.
  void Pump() override;
};

inline constexpr long long QuietPassIntervalNs = 1'000'000;  // 1 ms

// Nesting depth of Pump calls now, and the deepest seen since the last reset.
int PumpDepth();
int MaxPumpDepth();
void ResetMaxPumpDepth();

// Passes over the event loop that Pump made, since the program started.
long PumpPasses();

}  // namespace varek
