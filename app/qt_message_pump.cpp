// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_message_pump.h"

#include <QAbstractEventDispatcher>
#include <algorithm>

namespace varek {

void QtMessagePump::Pump() {
  ++depth_;
  max_depth_ = std::max(max_depth_, depth_);
  const Clock::time_point now = Clock::now();
  if (last_pass_found_events_ ||
      now - last_pass_ >= std::chrono::nanoseconds(QuietPassIntervalNs)) {
    // What QCoreApplication::processEvents does, but it tells whether any
    // event was processed.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    last_pass_found_events_ = dispatcher && dispatcher->processEvents(QEventLoop::AllEvents);
    last_pass_ = now;
    ++passes_;
  }
  --depth_;
}

}  // namespace varek
