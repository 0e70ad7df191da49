// Lets pending window messages run while a computation is under way.
#pragma once

namespace varek {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void Pump() = 0;  // called every 30 integration steps
};

}  // namespace varek
