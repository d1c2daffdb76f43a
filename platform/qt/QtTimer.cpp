// SPDX-License-Identifier: GPL-3.0-or-later
// The timer's wake-up: a precise single-shot QTimer on the event loop.
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include "QtNative.h"

namespace platform {

namespace {

// How long waiting input may hold a due tick back: a period of the game's 1/64 s.
constexpr int kInputFirstMs = 15;

// As Windows delivers a timer's tick only when no input waits, the input that came while the thread
// was busy (a release during a synchronous sound) goes first: it may stop the timer, or restart it,
// which makes this wake-up void, or close the window, which ends the timer.
void DueAfterWaitingInput(Timer& timer, const QPointer<QTimer>& wakeUp) {
  QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers, kInputFirstMs);
  if (wakeUp && !wakeUp->isActive()) {
    Backend::Due(timer);
  }
}

}  // namespace

Timer::Timer() {
  Gui();  // the timer lives on the application's event loop
  impl_ = std::make_unique<Impl>();
  impl_->timer.setSingleShot(true);
  impl_->timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(
      &impl_->timer, &QTimer::timeout,
      [this, wakeUp = QPointer<QTimer>(&impl_->timer)] { DueAfterWaitingInput(*this, wakeUp); });
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
