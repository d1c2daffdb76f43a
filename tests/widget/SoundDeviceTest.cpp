// SPDX-License-Identifier: GPL-3.0-or-later
// The sound device's life in a running game (SDL's dummy driver).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include "platform/App.h"
#include "platform/Runtime.h"
#include "platform/SdlSoundPlayer.h"

namespace {

TEST(SoundDevice, ClosesAgainWhenTheGameHasBeenQuietForAWhile) {
  platform::Runtime::Current().Gui();
  platform::SdlSoundPlayer player;
  player.IdleClose(std::chrono::milliseconds(50));
  ASSERT_TRUE(player.sndPlaySoundA(platform::App::LoadResData(u"ALARM", u"WAVE"), 6));
  EXPECT_TRUE(player.DeviceOpen());

  QElapsedTimer safety;
  safety.start();
  while (player.DeviceOpen() && safety.elapsed() < 10'000) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  EXPECT_FALSE(player.DeviceOpen());

  // The next sound opens it again.
  EXPECT_TRUE(player.sndPlaySoundA(platform::App::LoadResData(u"BUZZ", u"WAVE"), 6));
  EXPECT_TRUE(player.DeviceOpen());
}

}  // namespace
