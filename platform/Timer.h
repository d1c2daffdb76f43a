// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: a timer that raises its event on the user-interface thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "TickSchedule.h"

namespace platform {

struct Backend;

// While enabled, raises its event once per period (see TickSchedule); while disabled it has no
// pending wake-up at all.
class Timer {
 public:
  struct Impl;  // the back end's single-shot wake-up

  Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled);
  int Interval() const { return interval_; }
  void Interval(int milliseconds);

  void OnTimer(std::function<void()> handler);

  // True while a wake-up is scheduled.
  bool Pending() const;
  // The spacing of the ticks since the timer was last enabled.
  TickSchedule::Duration Period() const { return schedule_.Period(); }

 private:
  friend struct Backend;
  // Back-end entry: the wake-up it was asked for is due.
  void Fire();
  void Restart();
  void Arm();
  // Back-end hooks: the home's clock; wake the timer once, `after` from now; Stop cancels that.
  static TickSchedule::Clock::time_point Now();
  void Wake(std::chrono::milliseconds after);
  void Stop();

  std::unique_ptr<Impl> impl_;
  std::function<void()> handler_;
  TickSchedule schedule_;
  bool enabled_ = false;
  int interval_ = 0;
};

}  // namespace platform
