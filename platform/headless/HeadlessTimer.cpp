// SPDX-License-Identifier: GPL-3.0-or-later
// Timers without a window system: wake-ups on a clock that moves only when a test advances it.
#include <algorithm>
#include <vector>

#include "Headless.h"
#include "HeadlessNative.h"

namespace platform {
namespace {

std::chrono::milliseconds now{0};

std::vector<Timer*>& Timers() {
  static std::vector<Timer*> timers;
  return timers;
}

}  // namespace

Timer::Timer() : impl_(std::make_unique<Impl>()) {
  Timers().push_back(this);
}

Timer::~Timer() {
  std::erase(Timers(), this);
}

// The test's clock, counted from the steady clock's epoch.
TickSchedule::Clock::time_point Timer::Now() {
  return TickSchedule::Clock::time_point(now);
}

bool Timer::Pending() const {
  return impl_->pending;
}

void Timer::Wake(std::chrono::milliseconds after) {
  impl_->pending = true;
  impl_->due = now + after;
}

void Timer::Stop() {
  impl_->pending = false;
}

namespace headless {

void Advance(std::chrono::milliseconds time) {
  const auto end = now + time;
  for (;;) {
    Timer* next = nullptr;
    for (Timer* timer : Timers()) {
      const Timer::Impl& t = Backend::Of(*timer);
      if (t.pending && t.due <= end && (next == nullptr || t.due < Backend::Of(*next).due)) {
        next = timer;
      }
    }
    if (next == nullptr) {
      break;
    }
    now = std::max(now, Backend::Of(*next).due);
    Backend::Of(*next).pending = false;
    Backend::Due(*next);
  }
  now = end;
}

}  // namespace headless
}  // namespace platform
