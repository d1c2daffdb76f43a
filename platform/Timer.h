// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: a timer that raises its event on the user-interface thread.
#pragma once

#include <functional>
#include <memory>

#include "TickSchedule.h"

class QTimer;

namespace platform {

// While enabled, raises its event once per period (see TickSchedule); while disabled it has no
// pending wake-up at all.
class Timer {
 public:
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
  void Restart();
  void Arm();
  void Fire();

  std::unique_ptr<QTimer> timer_;
  std::function<void()> handler_;
  TickSchedule schedule_;
  bool enabled_ = false;
  int interval_ = 0;
};

}  // namespace platform
