#include "app/qt_message_pump.h"

#include <QAbstractEventDispatcher>
#include <algorithm>
#include <chrono>

namespace varek {

namespace {
using Clock = std::chrono::steady_clock;

int depth = 0;
int max_depth = 0;
long passes = 0;
bool last_pass_found_events = true;
Clock::time_point last_pass;
}  // namespace

void QtMessagePump::Pump() {
  ++depth;
  max_depth = std::max(max_depth, depth);
  const Clock::time_point now = Clock::now();
  if (last_pass_found_events || now - last_pass >= std::chrono::nanoseconds(QuietPassIntervalNs)) {
    // What QCoreApplication::processEvents does, but it tells whether any
    // event was processed.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    last_pass_found_events = dispatcher && dispatcher->processEvents(QEventLoop::AllEvents);
    last_pass = now;
    ++passes;
  }
  --depth;
}

int PumpDepth() { return depth; }
int MaxPumpDepth() { return max_depth; }
void ResetMaxPumpDepth() { max_depth = depth; }
long PumpPasses() { return passes; }

}  // namespace varek
