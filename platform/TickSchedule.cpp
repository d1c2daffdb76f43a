// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickSchedule.h"

#include <algorithm>

namespace platform {

TickSchedule::Duration TickSchedule::PeriodFor(int intervalMs) {
  if (intervalMs <= 0) {
    return Duration{0};
  }
  const Duration interval = std::chrono::milliseconds(intervalMs);
  const auto slots = (interval.count() + kGranularity.count() - 1) / kGranularity.count();
  return kGranularity * slots;
}

void TickSchedule::Start(Clock::time_point now, Duration period) {
  period_ = period;
  due_ = now + period;
}

void TickSchedule::Handled(Clock::time_point now) {
  due_ = std::max(due_ + period_, now);
}

}  // namespace platform
