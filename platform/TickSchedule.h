// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: when a timer's ticks fall due.
#pragma once

#include <chrono>

namespace platform {

// Ticks fall due on a steady grid of the interval rounded up to 1/64 s, the timer resolution the
// game's speed was designed for, so it plays at the same pace on every machine. A tick that
// overruns its slot is followed by at most one catch-up tick, never a burst.
class TickSchedule {
 public:
  using Clock = std::chrono::steady_clock;
  using Duration = std::chrono::nanoseconds;

  static constexpr Duration kGranularity{15'625'000};

  // The period of a timer with this interval in milliseconds; zero for an interval of zero.
  static Duration PeriodFor(int intervalMs);

  // Starts the grid: the first tick falls due one period from `now`.
  void Start(Clock::time_point now, Duration period);
  Clock::time_point Due() const { return due_; }
  Duration Period() const { return period_; }
  // The tick that was due has been handled at `now`: sets the next one.
  void Handled(Clock::time_point now);

 private:
  Duration period_{0};
  Clock::time_point due_{};
};

}  // namespace platform
