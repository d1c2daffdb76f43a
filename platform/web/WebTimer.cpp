// SPDX-License-Identifier: GPL-3.0-or-later
// The timer's wake-up in a page: the browser's setTimeout on the same 1/64 s grid, not the
// display's frame rate; a wake-up that falls due while the tab is hidden waits until it is shown
// again.
#include <emscripten.h>

#include <map>

#include "WebNative.h"

namespace platform {
namespace {

std::map<int, Timer*>& Timers() {
  static std::map<int, Timer*> timers;
  return timers;
}

// clang-format off
// A tick that waited behind a sound runs only if its wake-up is still the timer's (a release
// meanwhile stops it, a press restarts it).
EM_JS(int, wb_set_timer, (int id, int ms), {
  const handle = setTimeout(
      function fire() {
        if (document.hidden) {
          document.addEventListener('visibilitychange', fire, {once: true});
          return;
        }
        Module.wbRun(() => Module._wb_timer(id, handle), true);
      },
      ms);
  return handle;
});
// clang-format on

EM_JS(void, wb_clear_timer, (int handle), { clearTimeout(handle); });

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void wb_timer(int id, int handle) {
  const auto found = Timers().find(id);
  if (found != Timers().end() && Backend::Of(*found->second).handle == handle) {
    Backend::Of(*found->second).handle = 0;
    Backend::Due(*found->second);
  }
}

Timer::Timer() : impl_(std::make_unique<Impl>()) {
  static int nextId = 0;
  impl_->id = ++nextId;
  Timers()[impl_->id] = this;
}

Timer::~Timer() {
  Stop();
  Timers().erase(impl_->id);
}

bool Timer::Pending() const {
  return impl_->handle != 0;
}

void Timer::Wake(std::chrono::milliseconds after) {
  Stop();
  impl_->handle = wb_set_timer(impl_->id, static_cast<int>(after.count()));
}

void Timer::Stop() {
  if (impl_->handle != 0) {
    wb_clear_timer(impl_->handle);
    impl_->handle = 0;
  }
}

}  // namespace platform
