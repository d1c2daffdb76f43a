// SPDX-License-Identifier: GPL-3.0-or-later
// The timer's clock on the homes that run in real time: the steady clock (in a page, the
// browser's performance clock).
#include "Timer.h"

namespace platform {

TickSchedule::Clock::time_point Timer::Now() {
  return TickSchedule::Clock::now();
}

}  // namespace platform
