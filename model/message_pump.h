// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Lets pending window messages run while a computation is under way.
#pragma once

namespace varek {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void Pump() = 0;  // called every 30 integration steps
};

}  // namespace varek
