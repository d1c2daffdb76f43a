// SPDX-License-Identifier: GPL-3.0-or-later
// The timer's schedule, the same on every back end; the back end only wakes it.
#include "Timer.h"

#include <algorithm>

namespace platform {

void Timer::Enabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  Restart();
}

void Timer::Interval(int milliseconds) {
  interval_ = std::max(0, milliseconds);
  Restart();
}

void Timer::OnTimer(std::function<void()> handler) {
  handler_ = std::move(handler);
}

void Timer::Restart() {
  Stop();
  const auto period = TickSchedule::PeriodFor(interval_);
  if (!enabled_ || period.count() == 0) {
    return;
  }
  schedule_.Start(Now(), period);
  Arm();
}

void Timer::Arm() {
  const auto wait = schedule_.Due() - Now();
  // Wake at the due time or just after it, never before.
  Wake(std::max(std::chrono::ceil<std::chrono::milliseconds>(wait), std::chrono::milliseconds(0)));
}

void Timer::Fire() {
  if (!enabled_) {
    return;
  }
  if (handler_) {
    handler_();
  }
  // The handler may have switched the timer off, or off and on again (which restarted it).
  if (enabled_ && !Pending()) {
    schedule_.Handled(Now());
    Arm();
  }
}

}  // namespace platform
