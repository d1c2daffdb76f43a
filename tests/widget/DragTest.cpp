// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <cfloat>

#include "game/frmGame.h"

namespace {

struct DragCase {
  const char* what;
  std::int16_t button;
  float pressX, moveX;
  float expectedLeft;
};

TEST(Drag, TheBlockFollowsTheLeftButtonOnly) {
  const DragCase cases[] = {
      {"150 twips are 10 pixels", 1, 300, 450, 197},
      {"7 twips are 0.4666 pixels", 1, 300, 307, 187.0F + 7.0F / 15.0F},
      {"backwards", 1, 300, 0, 167},
      {"right button alone", 2, 300, 450, 187},
      {"left and right together", 3, 300, 450, 187},
      {"middle button", 4, 300, 450, 187},
      {"no button", 0, 300, 450, 187},
  };
  for (const auto& c : cases) {
    frmGame game;
    game.picUser_MouseDown(c.button, 0, c.pressX, 300);
    game.picUser_MouseMove(c.button, 0, c.moveX, 300);
    EXPECT_EQ(game.picUser.Left(), c.expectedLeft) << c.what;
    EXPECT_EQ(game.picUser.Top(), 181) << c.what;
  }
}

TEST(Drag, BeforeAnyPressThePressPointReadsAsZero) {
  frmGame game;
  game.picUser_MouseMove(1, 0, 150, 30);
  EXPECT_EQ(game.picUser.Left(), 197);
  EXPECT_EQ(game.picUser.Top(), 183);
}

TEST(Drag, AMoveWhoseArithmeticLeavesTheSingleRangeIsAbandoned) {
  frmGame game;
  game.picUser_MouseDown(1, 0, -FLT_MAX, 0);
  game.picUser_MouseMove(1, 0, FLT_MAX, 15);
  EXPECT_EQ(game.picUser.Left(), 187);
  EXPECT_EQ(game.picUser.Top(), 181);
}

TEST(Drag, PressEnablesTheTimerAndReleaseDisablesIt) {
  frmGame game;
  game.picUser_MouseDown(2, 0, 10, 10);
  EXPECT_TRUE(game.tmrEnemies.Enabled());
  EXPECT_EQ(game.StartX, 10);
  game.picUser_MouseUp(2, 0, 10, 10);
  EXPECT_FALSE(game.tmrEnemies.Enabled());
}

// Sends a mouse event to a widget at a point in its own pixels.
void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

TEST(Drag, RealMouseEventsDragTheBlockPixelForPixel) {
  frmGame game;
  game.Show();
  QWidget* block = game.picUser.Widget();
  Send(block, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(game.tmrEnemies.Enabled());
  EXPECT_EQ(game.StartX, 75);  // twips of the block

  Send(block, QEvent::MouseMove, {15, 8}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(block->geometry().topLeft(), QPoint(197, 184));
  // The block moved under the pointer: the same screen point is now 5, 5 again.
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

}  // namespace
