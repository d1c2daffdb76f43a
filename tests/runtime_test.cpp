// SPDX-License-Identifier: GPL-3.0-or-later
// What the Qt back end adds to the platform's contract (conformance/), on Qt's offscreen platform
// with a 1024 x 768 screen: placement on the primary screen, the sound device's life and the
// icon files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>

#include <cstdlib>

#include "game/frmGame.h"
#include "platform/App.h"
#include "platform/Runtime.h"
#include "platform/qt/QtNative.h"
#include "platform/qt/QtSound.h"

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

TEST(Placement, TheWindowIsPlacedOnThePrimaryScreenWhereverThatStarts) {
  frmGame form;
  form.Show();
  const QPoint corner = QGuiApplication::primaryScreen()->geometry().topLeft();
  EXPECT_EQ(platform::Backend::Of(form).widget->pos() - corner, QPoint(300, 110));
  EXPECT_EQ(form.Left(), 4500);
}

TEST(SoundDevice, ClosesAfterAQuietSpellAndOpensAgainForTheNextSound) {
  platform::Gui();  // the device closes from the event loop
  platform::SdlSoundPlayer player;
  player.IdleClose(std::chrono::milliseconds(50));
  ASSERT_TRUE(player.sndPlaySoundA(platform::App::LoadResData(u"ALARM", u"WAVE"), 6));
  EXPECT_TRUE(player.DeviceOpen());
  EXPECT_TRUE(RunUntil([&] { return !player.DeviceOpen(); }));
  EXPECT_TRUE(player.sndPlaySoundA(platform::App::LoadResData(u"BUZZ", u"WAVE"), 6));
  EXPECT_TRUE(player.DeviceOpen());
}

TEST(Icons, EveryIconFileIsTheDesignEnlargedPixelForPixel) {
  const QImage design(QStringLiteral(WIRBELBOX_RESOURCES_SOURCE_DIR "/wirbelbox.xpm"));
  ASSERT_EQ(design.size(), QSize(32, 32));
  const auto enlarged = [&](const QImage& icon) {
    const int factor = icon.width() / design.width();
    for (int y = 0; y < icon.height(); ++y) {
      for (int x = 0; x < icon.width(); ++x) {
        if (icon.pixel(x, y) != design.pixel(x / factor, y / factor)) {
          return false;
        }
      }
    }
    return true;
  };
  const QString built = QStringLiteral(WIRBELBOX_RESOURCES_BUILD_DIR);
  for (const int size : {32, 64, 128, 256}) {
    const QImage icon(built + QStringLiteral("/icon-%1.png").arg(size));
    ASSERT_EQ(icon.size(), QSize(size, size));
    EXPECT_TRUE(enlarged(icon)) << size;
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);  // no test of the window makes a real sound
  testing::InitGoogleTest(&argc, argv);
  platform::Runtime runtime(argc, argv);
  return RUN_ALL_TESTS();
}
