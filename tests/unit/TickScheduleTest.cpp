// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TickSchedule.h"

#include <gtest/gtest.h>

namespace {

using platform::TickSchedule;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

TEST(TickSchedule, IntervalsRoundUpToSixtyFourthsOfASecond) {
  const struct {
    int interval;
    nanoseconds period;
  } cases[] = {
      {0, nanoseconds(0)},       {1, microseconds(15625)},    {15, microseconds(15625)},
      {16, microseconds(31250)}, {100, microseconds(109375)}, {1000, milliseconds(1000)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TickSchedule::PeriodFor(c.interval), c.period) << c.interval;
  }
}

TEST(TickSchedule, TicksHandledLateStillKeepSixtyFourPerSecond) {
  TickSchedule schedule;
  const auto start = TickSchedule::Clock::time_point{} + milliseconds(1000);
  schedule.Start(start, TickSchedule::PeriodFor(1));
  for (int tick = 0; tick < 64; ++tick) {
    schedule.Handled(schedule.Due() + milliseconds(3));  // every tick handled 3 ms late
  }
  EXPECT_EQ(schedule.Due(), start + milliseconds(1000) + TickSchedule::PeriodFor(1));
}

TEST(TickSchedule, ALongTickIsFollowedByOneCatchUpTickThenTheNormalPace) {
  TickSchedule schedule;
  const auto start = TickSchedule::Clock::time_point{} + milliseconds(1000);
  const auto period = TickSchedule::PeriodFor(1);
  schedule.Start(start, period);

  const auto afterSound = schedule.Due() + milliseconds(300);
  schedule.Handled(afterSound);
  EXPECT_EQ(schedule.Due(), afterSound);  // one tick at once

  schedule.Handled(afterSound + milliseconds(1));
  EXPECT_EQ(schedule.Due(), afterSound + period);  // then a full period, no burst
}

}  // namespace
