// SPDX-License-Identifier: GPL-3.0-or-later
// The timer's wake-up: a precise single-shot QTimer on the event loop.
#include <QTimer>

#include "QtNative.h"

namespace platform {

Timer::Timer() {
  Gui();  // the timer lives on the application's event loop
  impl_ = std::make_unique<Impl>();
  impl_->timer.setSingleShot(true);
  impl_->timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() = default;

bool Timer::Pending() const {
  return impl_->timer.isActive();
}

void Timer::Wake(std::chrono::milliseconds after) {
  impl_->timer.start(after);
}

void Timer::Stop() {
  impl_->timer.stop();
}

}  // namespace platform
