// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/frmGame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include <string>

namespace {

class frmGameTest : public testing::Test {
 protected:
  frmGame form;

  // The name of the control a click at this client point reaches ("" for the window itself).
  std::string ControlAt(int x, int y) const {
    const QWidget* child = form.Widget()->childAt(x, y);
    return child != nullptr ? child->objectName().toStdString() : "";
  }

  QColor PixelAt(int x, int y) const { return form.Widget()->grab().toImage().pixelColor(x, y); }
};

struct Design {
  const char* name;
  int left, top, width, height;
};

TEST_F(frmGameTest, ControlsStandAtTheirDesignPlaces) {
  const Design designs[] = {
      {"pbCanvas", 32, 32, 361, 361},     {"picEnemy(0)", 46, 38, 61, 61},
      {"picEnemy(1)", 257, 34, 57, 49},   {"picEnemy(2)", 42, 298, 30, 61},
      {"picEnemy(3)", 281, 311, 101, 21}, {"HScroll1", 31, 406, 362, 15},
      {"picUser", 187, 181, 41, 41},
  };
  for (const auto& d : designs) {
    const auto* widget = form.Widget()->findChild<QWidget*>(d.name);
    ASSERT_NE(widget, nullptr) << d.name;
    EXPECT_EQ(widget->geometry(), QRect(d.left, d.top, d.width, d.height)) << d.name;
    EXPECT_TRUE(widget->isEnabled()) << d.name;
  }
  EXPECT_EQ(form.Widget()->size(), QSize(425, 432));
  EXPECT_EQ(form.Widget()->windowTitle(), "Wirbelbox");
  EXPECT_EQ(form.picUser.Left(), 187);
  EXPECT_EQ(form.picEnemy(3).Width(), 101);
}

TEST_F(frmGameTest, ColoursAreTheDesignColours) {
  const struct {
    int x, y;
    QColor colour;
  } points[] = {
      {5, 5, Qt::black},
      {424, 431, Qt::black},
      {33, 392, Qt::white},
      {200, 200, QColor(128, 0, 0)},
      {60, 60, QColor(0, 0, 128)},
      {300, 40, QColor(0, 0, 128)},
      {50, 350, QColor(0, 0, 128)},
      {380, 320, QColor(0, 0, 128)},
  };
  for (const auto& p : points) {
    EXPECT_EQ(PixelAt(p.x, p.y), p.colour) << p.x << "," << p.y;
  }
}

TEST_F(frmGameTest, SpeedBarRunsFromZeroToTenStartingAtOne) {
  const auto* bar = form.Widget()->findChild<QScrollBar*>("HScroll1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 10);
  EXPECT_EQ(form.HScroll1.Value(), 1);
  EXPECT_EQ(bar->orientation(), Qt::Horizontal);
}

TEST_F(frmGameTest, ClicksReachTheTopmostControl) {
  // Overlap every pair whose order matters, then ask who is on top.
  form.picEnemy(0).Move(150, 150);  // under the player block
  form.picEnemy(1).Move(60, 380);   // partly under the speed bar
  form.picEnemy(2).Move(260, 40);   // over enemy 1's old place, under enemy 3 below
  form.picEnemy(3).Move(250, 50);
  const struct {
    int x, y;
    const char* control;
  } clicks[] = {
      {190, 190, "picUser"},    {155, 155, "picEnemy(0)"},
      {70, 410, "HScroll1"},    {70, 390, "picEnemy(1)"},
      {265, 55, "picEnemy(3)"}, {265, 45, "picEnemy(2)"},
      {35, 35, "pbCanvas"},     {10, 10, ""},
      {410, 425, ""},
  };
  for (const auto& c : clicks) {
    EXPECT_EQ(ControlAt(c.x, c.y), c.control) << c.x << "," << c.y;
  }
}

TEST_F(frmGameTest, OpensCentredOnTheUpperPartOfTheScreenWithTheTimerOff) {
  form.Show();
  // 1024 x 768 screen: Top 4 896 − 3 240 twips, Left 7 680 − 3 187 twips, on whole pixels.
  EXPECT_EQ(form.Widget()->pos(), QPoint(300, 110));
  EXPECT_EQ(form.Top(), 1650);
  EXPECT_EQ(form.Left(), 4500);
  EXPECT_EQ(form.Height(), 6480);
  EXPECT_EQ(form.Width(), 6375);
  EXPECT_FALSE(form.tmrEnemies.Enabled());
  EXPECT_FALSE(form.tmrEnemies.Pending());
}

TEST_F(frmGameTest, IdleWindowNeverTicksAndBlocksStayPut) {
  int ticks = 0;
  form.tmrEnemies.OnTimer([&] { ++ticks; });
  form.Show();
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  }
  EXPECT_EQ(ticks, 0);
  EXPECT_FALSE(form.tmrEnemies.Pending());
  EXPECT_EQ(form.picEnemy(0).Top(), 38);
}

TEST_F(frmGameTest, PressesOnEnemiesFieldOrBackgroundChangeNothing) {
  form.Show();
  for (const QPoint at : {QPoint(60, 60), QPoint(35, 35), QPoint(5, 5)}) {
    QWidget* target = form.Widget()->childAt(at);
    QWidget* receiver = target != nullptr ? target : form.Widget();
    const QPoint local = receiver->mapFrom(form.Widget(), at);
    QMouseEvent press(QEvent::MouseButtonPress, local, receiver->mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(receiver, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, receiver->mapToGlobal(local),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(receiver, &release);
  }
  EXPECT_FALSE(form.tmrEnemies.Enabled());
  EXPECT_EQ(form.Widget()->findChild<QWidget*>("picUser")->geometry(), QRect(187, 181, 41, 41));
}

TEST_F(frmGameTest, ClosingTheWindowUnloadsIt) {
  form.Show();
  EXPECT_TRUE(form.Widget()->close());
  EXPECT_FALSE(form.Widget()->isVisible());
}

}  // namespace
