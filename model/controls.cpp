#include "model/controls.h"

#include <cassert>

namespace varek {

namespace {
Controls* bound_controls = nullptr;
MessagePump* bound_pump = nullptr;
}  // namespace

void BindControls(Controls* controls) { bound_controls = controls; }
void BindMessagePump(MessagePump* pump) { bound_pump = pump; }

Controls& BoundControls() {
  assert(bound_controls != nullptr);
  return *bound_controls;
}

MessagePump& BoundMessagePump() {
  assert(bound_pump != nullptr);
  return *bound_pump;
}

}  // namespace varek
