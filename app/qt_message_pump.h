// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The message pump that a running computation calls every 30 steps.
#pragma once

#include <chrono>

#include "model/message_pump.h"

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

  static constexpr long long QuietPassIntervalNs = 1'000'000;  // 1 ms

  // The next call makes a pass whatever the time, for a caller that knows an
  // event is waiting (a computation that takes less than QuietPassIntervalNs
  // would otherwise finish before it runs).
  void PassAtNextCall() { last_pass_found_events_ = true; }

  // Nesting depth of Pump calls now, and the deepest seen since the last reset.
  int Depth() const { return depth_; }
  int MaxDepth() const { return max_depth_; }
  void ResetMaxDepth() { max_depth_ = depth_; }
  // Passes over the event loop made so far.
  long Passes() const { return passes_; }

 private:
  using Clock = std::chrono::steady_clock;
  int depth_ = 0;
  int max_depth_ = 0;
  long passes_ = 0;
  bool last_pass_found_events_ = true;
  Clock::time_point last_pass_;
};

}  // namespace varek
