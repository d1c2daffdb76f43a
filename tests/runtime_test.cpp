// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime under the game, on Qt's offscreen platform with a 1024 x 768 screen: controls,
// real mouse events, the timer, the sound device's life and the icon files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

#include <cstdlib>

#include "game/frmGame.h"
#include "platform/App.h"
#include "platform/Runtime.h"
#include "platform/qt/QtNative.h"
#include "platform/qt/SdlSoundPlayer.h"

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

void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

TEST(Controls, StandAtTheirDesignPlacesInTheirColoursStackedAsDesigned) {
  frmGame form;
  const struct {
    const char* name;
    QRect geometry;
  } designs[] = {
      {"pbCanvas", {32, 32, 361, 361}},     {"picEnemy(0)", {46, 38, 61, 61}},
      {"picEnemy(1)", {257, 34, 57, 49}},   {"picEnemy(2)", {42, 298, 30, 61}},
      {"picEnemy(3)", {281, 311, 101, 21}}, {"HScroll1", {31, 406, 362, 15}},
      {"picUser", {187, 181, 41, 41}},
  };
  for (const auto& d : designs) {
    const auto* widget = platform::Backend::Of(form).widget->findChild<QWidget*>(d.name);
    ASSERT_NE(widget, nullptr) << d.name;
    EXPECT_EQ(widget->geometry(), d.geometry) << d.name;
  }
  EXPECT_EQ(platform::Backend::Of(form).widget->size(), QSize(425, 432));
  const auto* bar = platform::Backend::Of(form).widget->findChild<QScrollBar*>("HScroll1");
  EXPECT_EQ(QPoint(bar->minimum(), bar->maximum()), QPoint(0, 10));
  EXPECT_EQ(form.HScroll1.Value(), 1);

  // Overlap every pair whose order matters, then ask which control a click reaches.
  form.picEnemy(0).Move(150, 150);  // under the player block
  form.picEnemy(1).Move(60, 380);   // partly under the speed bar
  form.picEnemy(2).Move(260, 40);
  form.picEnemy(3).Move(250, 50);  // over enemy 2
  const struct {
    int x, y;
    const char* control;
  } clicks[] = {{190, 190, "picUser"},    {155, 155, "picEnemy(0)"},
                {70, 410, "HScroll1"},    {70, 390, "picEnemy(1)"},
                {265, 55, "picEnemy(3)"}, {265, 45, "picEnemy(2)"},
                {35, 35, "pbCanvas"},     {10, 10, ""}};
  for (const auto& c : clicks) {
    const QWidget* child = platform::Backend::Of(form).widget->childAt(c.x, c.y);
    EXPECT_EQ(child != nullptr ? child->objectName().toStdString() : "", c.control)
        << c.x << "," << c.y;
  }
}

// Run also with a primary screen that starts at 1024, 0 (offscreen-offset.json).
TEST(Placement, TheWindowIsPlacedOnThePrimaryScreenWhereverThatStarts) {
  frmGame form;
  form.Show();
  const QPoint corner = QGuiApplication::primaryScreen()->geometry().topLeft();
  EXPECT_EQ(platform::Backend::Of(form).widget->pos() - corner, QPoint(300, 110));
  EXPECT_EQ(form.Left(), 4500);
}

TEST(Mouse, RealEventsReachTheHandlersInTwipsWithTheMaskOfHeldButtons) {
  frmGame game;
  game.Show();
  for (const QPoint at : {QPoint(60, 60), QPoint(35, 35), QPoint(5, 5)}) {  // not the block
    QWidget* target = platform::Backend::Of(game).widget->childAt(at);
    QWidget* receiver = target != nullptr ? target : platform::Backend::Of(game).widget.get();
    Send(receiver, QEvent::MouseButtonPress,
         receiver->mapFrom(platform::Backend::Of(game).widget.get(), at), Qt::LeftButton,
         Qt::LeftButton);
  }
  EXPECT_FALSE(game.tmrEnemies.Enabled());

  QWidget* block = platform::Backend::Of(game.picUser).widget.get();
  Send(block, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(game.tmrEnemies.Enabled());
  EXPECT_EQ(game.StartX, 75);
  Send(block, QEvent::MouseMove, {15, 8}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(block->geometry().topLeft(), QPoint(197, 184));
  // The block moved under the pointer: the same screen point is 5, 5 again.
  Send(block, QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(block->geometry().topLeft(), QPoint(197, 184));

  Send(block, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  Send(block, QEvent::MouseMove, {25, 5}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(block->geometry().topLeft(), QPoint(197, 184));  // two buttons: no drag
  Send(block, QEvent::MouseButtonRelease, {25, 5}, Qt::RightButton, Qt::LeftButton);
  EXPECT_FALSE(game.tmrEnemies.Enabled());  // either release ends the run
  Send(block, QEvent::MouseMove, {15, 5}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(block->geometry().topLeft(), QPoint(207, 184));  // left still held: drags again
}

TEST(Timer, TicksWhileEnabledAndHasNoWakeUpPendingWhileDisabled) {
  platform::Timer timer;
  int ticks = 0;
  timer.OnTimer([&] { ++ticks; });
  timer.Interval(1);
  timer.Enabled(true);
  EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }));
  timer.Enabled(false);
  EXPECT_FALSE(timer.Pending());
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
