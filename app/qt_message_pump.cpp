#include "app/qt_message_pump.h"

#include <QCoreApplication>
#include <algorithm>

namespace varek {

namespace {
int depth = 0;
int max_depth = 0;
}  // namespace

void QtMessagePump::Pump() {
  ++depth;
  max_depth = std::max(max_depth, depth);
  QCoreApplication::processEvents();
  --depth;
}

int PumpDepth() { return depth; }
int MaxPumpDepth() { return max_depth; }
void ResetMaxPumpDepth() { max_depth = depth; }

}  // namespace varek
