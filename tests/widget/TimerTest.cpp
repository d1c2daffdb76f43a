// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

namespace {

// Runs the event loop until `done` holds or ten seconds pass (a safety net, not a measurement).
template <typename Done>
bool RunUntil(Done done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 10'000) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return done();
}

TEST(Timer, TicksOnlyWhileEnabled) {
  platform::Timer timer;
  int ticks = 0;
  timer.OnTimer([&] { ++ticks; });
  timer.Interval(1);
  EXPECT_FALSE(timer.Pending());

  timer.Enabled(true);
  EXPECT_TRUE(timer.Pending());
  EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }));

  timer.Enabled(false);
  EXPECT_FALSE(timer.Pending());
  const int stopped = ticks;
  QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(ticks, stopped);
}

TEST(Timer, AHandlerThatDisablesTheTimerStopsIt) {
  platform::Timer timer;
  int ticks = 0;
  timer.OnTimer([&] {
    ++ticks;
    timer.Enabled(false);
  });
  timer.Interval(1);
  timer.Enabled(true);
  EXPECT_TRUE(RunUntil([&] { return ticks == 1; }));
  EXPECT_FALSE(timer.Pending());
  EXPECT_FALSE(timer.Enabled());
}

TEST(Timer, IntervalZeroNeverTicks) {
  platform::Timer timer;
  timer.Interval(0);
  timer.Enabled(true);
  EXPECT_FALSE(timer.Pending());
}

}  // namespace
