// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cfloat>
#include <string>
#include <vector>

#include "../RecordingPlayer.h"
#include "game/frmGame.h"

namespace {

// The game window with an outer height of our choosing, and every enemy parked out of the way.
class Game : public frmGame {
 public:
  RecordingPlayer player;
  float outerHeight = 6900;  // 460 pixels
  float Height() const override { return outerHeight; }

  Game() {
    for (int i = 0; i < 4; ++i) {
      picEnemy(i).Move(-1000, -1000);
    }
    picUser_MouseDown(1, 0, 0, 0);  // starting directions, timer on
  }

  void Speed(std::int16_t value) { HScroll1.Value(value); }
};

QColor Colour(const platform::PictureBox& box) {
  return box.Widget()->palette().color(QPalette::Window);
}

const QColor kDarkBlue(0, 0, 128);
const QColor kLightBlue(192, 192, 255);
const QColor kDarkRed(128, 0, 0);
const QColor kYellow(255, 255, 0);

struct StepCase {
  const char* what;
  float outerHeight;
  int enemy;  // 0 starts down-right, 3 up-left
  float start;
  std::vector<float> positions;  // after each tick
};

TEST(GameTick, EnemyTurnsOnlyAfterPassingTheLowerLimit) {
  const StepCase cases[] = {
      {"from 370: 375 stays, 380 is past 379", 6900, 0, 370, {375, 380, 375}},
      {"379 exactly does not turn, 384 does", 6900, 0, 374, {379, 384, 379}},
      {"fractional limit 379.666: 380 turns", 6910, 0, 375, {380, 375}},
      {"fractional limit 379.666: 379 does not", 6910, 0, 374, {379, 384, 379}},
  };
  for (const auto& c : cases) {
    Game game;
    game.outerHeight = c.outerHeight;
    game.Speed(5);
    game.picEnemy(c.enemy).Move(100, c.start);
    for (const float expected : c.positions) {
      game.tmrEnemies_Timer();
      EXPECT_EQ(game.picEnemy(c.enemy).Top(), expected) << c.what;
    }
  }
}

TEST(GameTick, EnemyTurnsOnlyAfterPassingTheTopLeftOrRightLimit) {
  struct AxisCase {
    const char* what;
    int enemy;
    bool horizontal;
    float start;
    std::vector<float> positions;
  };
  const AxisCase cases[] = {
      {"up from 3 to -2 turns", 3, false, 3, {-2, 3}},
      {"up from 5 reaches 0 and goes on", 3, false, 5, {0, -5, 0}},
      {"left from 3 to -2 turns", 3, true, 3, {-2, 3}},
      {"left from 5 reaches 0 and goes on", 3, true, 5, {0, -5, 0}},
      {"right from 390 to 395 is past 393", 0, true, 390, {395, 390}},
      {"right from 388 reaches 393 and goes on", 0, true, 388, {393, 398, 393}},
  };
  for (const auto& c : cases) {
    Game game;
    game.Speed(5);
    auto& enemy = game.picEnemy(c.enemy);
    if (c.horizontal) {
      enemy.Move(c.start, 200);
    } else {
      enemy.Move(200, c.start);
    }
    for (const float expected : c.positions) {
      game.tmrEnemies_Timer();
      EXPECT_EQ(c.horizontal ? enemy.Left() : enemy.Top(), expected) << c.what;
    }
  }
}

TEST(GameTick, EveryPressStartsTheFixedDirectionsFromWhereTheEnemiesStand) {
  Game game;
  game.Speed(1);
  const float starts[4][2] = {{100, 100}, {200, 100}, {100, 300}, {200, 300}};
  for (int i = 0; i < 4; ++i) {
    game.picEnemy(i).Move(starts[i][0], starts[i][1]);
  }
  game.EnemyDirY = {1, 1, 0, 0};  // whatever the last run left
  game.EnemyDirX = {1, 0, 1, 0};
  game.picUser_MouseDown(2, 0, 0, 0);
  game.tmrEnemies_Timer();
  const float moved[4][2] = {{101, 101}, {199, 101}, {101, 299}, {199, 299}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(game.picEnemy(i).Left(), moved[i][0]) << i;
    EXPECT_EQ(game.picEnemy(i).Top(), moved[i][1]) << i;
  }
}

TEST(GameTick, SpeedZeroTurnsAnEnemyBeyondItsLimitOnceAndLeavesItThere) {
  Game game;
  game.Speed(0);
  game.picEnemy(0).Move(100, 390);  // beyond 379
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.EnemyDirY[0], 1);
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.EnemyDirY[0], 1);
  EXPECT_EQ(game.picEnemy(0).Top(), 390);
}

TEST(GameTick, TheSpeedIsReadAtEveryMove) {
  Game game;
  game.picEnemy(0).Move(100, 100);
  game.Speed(3);
  game.tmrEnemies_Timer();
  game.Speed(7);
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.picEnemy(0).Top(), 110);
  EXPECT_EQ(game.picEnemy(0).Left(), 110);
}

struct HitCase {
  const char* what;
  float left, top, width, height;
  bool hit;
};

TEST(GameTick, EnemiesTouchingThePlayerBlockCountAsHits) {
  // The player block stands at 187..228 × 181..222.
  const HitCase cases[] = {
      {"bottom edge on the block's top edge", 180, 120, 61, 61, true},
      {"one pixel higher", 180, 119, 61, 61, false},
      {"left edge on the block's right edge", 228, 190, 61, 61, true},
      {"one pixel further right", 229, 190, 61, 61, false},
      {"right edge on the block's left edge", 126, 190, 61, 61, true},
      {"one pixel further left", 125, 190, 61, 61, false},
      {"top edge on the block's bottom edge", 190, 222, 61, 61, true},
      {"covers the block", 177, 171, 61, 61, true},
      {"inside the block", 190, 190, 10, 10, true},
      {"far away", 40, 40, 61, 61, false},
  };
  for (const auto& c : cases) {
    Game game;
    auto& player = game.player;
    game.Speed(0);
    auto& enemy = game.picEnemy(0);
    enemy.Move(c.left, c.top);
    enemy.Width(c.width);
    enemy.Height(c.height);
    QColor whilePlaying;
    player.onPlay = [&] { whilePlaying = Colour(enemy); };
    game.tmrEnemies_Timer();
    EXPECT_EQ(Colour(enemy), c.hit ? kLightBlue : kDarkBlue) << c.what;
    EXPECT_EQ(player.Sounds(),
              c.hit ? std::vector<std::string>{"BUZZ"} : std::vector<std::string>{})
        << c.what;
    if (c.hit) {
      EXPECT_EQ(whilePlaying, kLightBlue) << c.what << ": coloured before the buzz";
      EXPECT_EQ(player.calls[0].flags, 6U);
    }
  }
}

TEST(GameTick, AnEnemyClearOfThePlayerTurnsDarkBlueAgainSilently) {
  Game game;
  auto& player = game.player;
  game.Speed(0);
  game.picEnemy(1).Move(190, 190);
  game.tmrEnemies_Timer();
  game.picEnemy(1).Move(40, 40);
  game.tmrEnemies_Timer();
  EXPECT_EQ(Colour(game.picEnemy(1)), kDarkBlue);
  EXPECT_EQ(player.Sounds(), std::vector<std::string>{"BUZZ"});
}

TEST(GameTick, TwoHitsBuzzTwiceAndTheSecondEnemyMovesOnlyAfterTheFirstBuzz) {
  Game game;
  auto& player = game.player;
  game.Speed(2);
  game.picEnemy(0).Move(190, 190);
  game.picEnemy(1).Move(200, 200);
  float secondTopDuringFirstBuzz = 0;
  player.onPlay = [&] {
    if (player.calls.size() == 1) {
      secondTopDuringFirstBuzz = game.picEnemy(1).Top();
    }
  };
  game.tmrEnemies_Timer();
  EXPECT_EQ(player.Sounds(), (std::vector<std::string>{"BUZZ", "BUZZ"}));
  EXPECT_EQ(secondTopDuringFirstBuzz, 200);
  EXPECT_EQ(game.picEnemy(1).Top(), 202);
}

struct EdgeCase {
  const char* what;
  float left, top;
  bool alarm;
};

TEST(GameTick, PlayerBlockAtOrBeyondTheFieldsEdgeSoundsTheAlarmOnce) {
  // The field spans 32..393 in both axes; the block is 41 pixels square.
  const EdgeCase cases[] = {
      {"top edge on the field's top edge", 100, 32, true},
      {"bottom edge on the field's bottom edge", 100, 352, true},
      {"left edge on the field's left edge", 32, 100, true},
      {"right edge on the field's right edge", 352, 100, true},
      {"top-left corner: one alarm, not two", 32, 32, true},
      {"far outside the window", -500, 900, true},
      {"one pixel inside top and left", 33, 33, false},
      {"one pixel inside bottom and right", 351, 351, false},
  };
  for (const auto& c : cases) {
    Game game;
    auto& player = game.player;
    game.Speed(0);
    game.picUser.Move(c.left, c.top);
    QColor whilePlaying;
    player.onPlay = [&] { whilePlaying = Colour(game.picUser); };
    game.tmrEnemies_Timer();
    EXPECT_EQ(Colour(game.picUser), c.alarm ? kYellow : kDarkRed) << c.what;
    EXPECT_EQ(player.Sounds(),
              c.alarm ? std::vector<std::string>{"ALARM"} : std::vector<std::string>{})
        << c.what;
    if (c.alarm) {
      EXPECT_EQ(whilePlaying, kYellow) << c.what;
    }
  }
}

TEST(GameTick, BuzzComesBeforeTheAlarm) {
  Game game;
  auto& player = game.player;
  game.Speed(0);
  game.picUser.Move(32, 100);
  game.picEnemy(2).Move(40, 110);
  game.tmrEnemies_Timer();
  EXPECT_EQ(player.Sounds(), (std::vector<std::string>{"BUZZ", "ALARM"}));
}

TEST(GameTick, TheFirstTickSetsThePlayersColourEvenWhenNothingElseHappens) {
  Game game;
  auto& player = game.player;
  game.picUser.BackColor(0x00FFFF);
  game.tmrEnemies_Timer();
  EXPECT_EQ(Colour(game.picUser), kDarkRed);
  EXPECT_TRUE(player.calls.empty());
}

TEST(GameTick, ALowerLimitOutOfRangeCountsAsPassed) {
  Game game;
  game.outerHeight = FLT_MAX;  // in twips: the limit itself still fits
  game.Speed(1);
  game.picEnemy(0).Move(100, 100);
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.EnemyDirY[0], 0);

  game.picEnemy(0).Height(-FLT_MAX);  // FLT_MAX / 15 + FLT_MAX leaves the single range
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.EnemyDirY[0], 1);
  EXPECT_EQ(game.picEnemy(0).Top(), 102);
}

TEST(GameTick, AnEdgeTestThatCannotBeEvaluatedSoundsTheAlarm) {
  Game game;
  auto& player = game.player;
  game.picUser.Move(100, 100);
  game.picUser.Height(FLT_MAX);
  game.picUser.Top(FLT_MAX);
  game.tmrEnemies_Timer();
  EXPECT_EQ(Colour(game.picUser), kYellow);
  EXPECT_EQ(player.Sounds(), std::vector<std::string>{"ALARM"});
}

}  // namespace
