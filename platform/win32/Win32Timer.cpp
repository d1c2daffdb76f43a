// SPDX-License-Identifier: GPL-3.0-or-later
// The timer's wake-up on Windows: a SetTimer callback on the user-interface thread; none while
// the timer is disabled.
#include <map>

#include "Win32Native.h"

namespace platform {
namespace {

std::map<UINT_PTR, Timer*>& Timers() {
  static std::map<UINT_PTR, Timer*> timers;
  return timers;
}

void CALLBACK TimerDue(HWND /*hwnd*/, UINT /*message*/, UINT_PTR id, DWORD /*time*/) {
  const auto found = Timers().find(id);
  ::KillTimer(nullptr, id);
  if (found == Timers().end()) {
    return;
  }
  Timer* timer = found->second;
  Timers().erase(found);
  Backend::Of(*timer).id = 0;
  Backend::Due(*timer);
}

}  // namespace

Timer::Timer() : impl_(std::make_unique<Impl>()) {}

Timer::~Timer() {
  Stop();
}

bool Timer::Pending() const {
  return impl_->id != 0;
}

void Timer::Wake(std::chrono::milliseconds after) {
  Stop();
  impl_->id = ::SetTimer(nullptr, 0, static_cast<UINT>(after.count()), TimerDue);
  if (impl_->id != 0) {
    Timers()[impl_->id] = this;
  }
}

void Timer::Stop() {
  if (impl_->id != 0) {
    ::KillTimer(nullptr, impl_->id);
    Timers().erase(impl_->id);
    impl_->id = 0;
  }
}

}  // namespace platform
