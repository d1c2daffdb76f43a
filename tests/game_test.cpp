// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the game, played on the real window (offscreen) with a recording sound player.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingPlayer.h"
#include "game/frmGame.h"

namespace {

using Sounds = std::vector<std::string>;
constexpr std::uint32_t kDarkBlue = 0x800000, kLightBlue = 0xFFC0C0, kDarkRed = 0x80,
                        kYellow = 0xFFFF;

// The game window with an outer size of our choosing, enemies parked far away, a run started.
class Game : public frmGame {
 public:
  RecordingPlayer player;
  float outerWidth = 6375;
  float outerHeight = 6900;  // 460 pixels
  float Width() const override { return outerWidth; }
  float Height() const override { return outerHeight; }

  explicit Game(std::int16_t speed = 0) {
    for (int i = 0; i < 4; ++i) {
      picEnemy(i).Move(-1000, -1000);
    }
    picUser_MouseDown(1, 0, 0, 0);
    HScroll1.Value(speed);
  }
};

TEST(Motion, EveryEnemyTurnsOnlyOnceItHasPassedALimitAtEverySpeed) {
  // The lower limit is 460 outer pixels − the enemy's own height − 20; the right limit is the
  // field's right edge (393), met by the enemy's left edge; top and left are the window's 0.
  const float heights[] = {61, 49, 61, 21};
  for (int i = 0; i < 4; ++i) {
    for (std::int16_t speed = 0; speed <= 10; ++speed) {
      const struct {
        bool vertical;
        std::int16_t direction;
        float limit;
      } limits[] = {{true, 0, 460 - heights[i] - 20}, {true, 1, 0}, {false, 0, 393}, {false, 1, 0}};
      for (const auto& l : limits) {
        Game game(speed);
        auto& enemy = game.picEnemy(i);
        const float step = static_cast<float>(l.direction == 0 ? speed : -speed);
        (l.vertical ? game.EnemyDirY : game.EnemyDirX)[static_cast<std::size_t>(i)] = l.direction;
        l.vertical ? enemy.Move(200, l.limit - step) : enemy.Move(l.limit - step, 200);
        const auto where = [&] { return l.vertical ? enemy.Top() : enemy.Left(); };
        const std::string what = "enemy " + std::to_string(i) + " speed " + std::to_string(speed) +
                                 (l.vertical ? " vertical " : " horizontal ") +
                                 std::to_string(l.limit);
        game.tmrEnemies_Timer();
        EXPECT_EQ(where(), l.limit) << what << ": on the limit, not past it";
        game.tmrEnemies_Timer();
        EXPECT_EQ(where(), l.limit + step) << what;
        game.tmrEnemies_Timer();
        EXPECT_EQ(where(), l.limit) << what << ": turned back";
      }
    }
  }
}

TEST(Motion, AFractionalLowerLimitFollowsTheOuterHeight) {
  for (const float top : {379.0F, 380.0F}) {
    Game game(5);
    game.outerHeight = 6910;  // 460.666 − 61 − 20 = 379.666
    game.picEnemy(0).Move(100, top - 5);
    game.tmrEnemies_Timer();
    game.tmrEnemies_Timer();
    EXPECT_EQ(game.picEnemy(0).Top(), top == 380 ? 375 : 384) << top;
  }
}

TEST(Motion, AtSpeedZeroAnEnemyPastItsLimitTurnsOnce) {
  Game game(0);
  game.picEnemy(0).Move(100, 390);  // past 379
  game.tmrEnemies_Timer();
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.EnemyDirY[0], 1);
  EXPECT_EQ(game.picEnemy(0).Top(), 390);
}

TEST(Press, EveryPressRestartsTheTimerAndTheFixedDirectionsAndEveryMoveReadsTheSpeed) {
  Game game(1);
  const float at[4][2] = {{100, 100}, {200, 100}, {100, 300}, {200, 300}};
  for (int i = 0; i < 4; ++i) {
    game.picEnemy(i).Move(at[i][0], at[i][1]);
  }
  game.picUser_MouseUp(1, 0, 0, 0);
  EXPECT_FALSE(game.tmrEnemies.Enabled());
  game.EnemyDirY = {1, 1, 0, 0};  // whatever the last run left
  game.EnemyDirX = {1, 0, 1, 0};
  game.picUser_MouseDown(2, 0, 45, 60);  // any button
  EXPECT_TRUE(game.tmrEnemies.Enabled());
  EXPECT_EQ(game.StartX, 45);
  EXPECT_EQ(game.StartY, 60);
  // One 64th of a second between ticks, whatever the window asks for.
  EXPECT_EQ(game.tmrEnemies.Period(), std::chrono::microseconds(15625));
  game.tmrEnemies_Timer();
  const float moved[4][2] = {{101, 101}, {199, 101}, {101, 299}, {199, 299}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(game.picEnemy(i).Left(), moved[i][0]) << i;
    EXPECT_EQ(game.picEnemy(i).Top(), moved[i][1]) << i;
  }
  game.HScroll1.Value(3);  // the speed is read at every move
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.picEnemy(0).Top(), 104);
}

TEST(Tick, AnEnemyTouchingTheBlockBuzzesLightBlueAndTheBlockAtTheFieldsEdgeAlarmsYellow) {
  // Enemy sizes: 0 is 61 × 61, 1 is 57 × 49, 2 is 30 × 61, 3 is 101 × 21. The player block
  // stands at 187, 181, 41 × 41 unless the row moves it (box -1) or makes it flat or narrow. The
  // field spans 32..393 in both axes.
  const struct {
    const char* what = "";
    int box = 0;  // the enemy placed, or -1: the player block
    float left = 0, top = 0;
    bool sounds = false;  // an enemy buzzes, the block sounds one alarm
    std::int16_t speed = 0;
    float userWidth = 41, userHeight = 41;
  } cases[] = {
      {"bottom edge on the block's top edge", 3, 150, 160, true},
      {"bottom edge one pixel above it", 3, 150, 159, false},
      {"top edge on the block's bottom edge", 1, 150, 222, true},
      {"top edge one pixel below it", 1, 150, 223, false},
      {"left edge on the block's right edge", 2, 228, 150, true},
      {"left edge one pixel right of it", 2, 229, 150, false},
      {"right edge on the block's left edge", 2, 157, 150, true},
      {"right edge one pixel left of it", 2, 156, 150, false},
      {"one pixel under a flat block's bottom edge", 0, 190, 197, false, 0, 41, 15},
      {"one pixel beside a narrow block's right edge", 0, 203, 190, false, 0, 15, 41},
      {"covers the block", 0, 177, 171, true},
      {"inside the block", 2, 190, 185, true, 0, 41, 70},
      {"touches only after its move", 0, 125, 119, true, 1},
      {"one pixel short after its move", 0, 124, 118, false, 1},
      {"block's top edge on the field's top edge", -1, 100, 32, true},
      {"block's bottom edge on the field's bottom edge", -1, 100, 352, true},
      {"block's left edge on the field's left edge", -1, 32, 100, true},
      {"block's right edge on the field's right edge", -1, 352, 100, true},
      {"block beyond the top", -1, 100, 10, true},
      {"block beyond the bottom", -1, 100, 380, true},
      {"block beyond the left", -1, 0, 100, true},
      {"block beyond the right", -1, 400, 100, true},
      {"block in the top-left corner: one alarm, not two", -1, 32, 32, true},
      {"block bottom-right, outside the window", -1, 600, 900, true},
      {"block one pixel inside top and left", -1, 33, 33, false},
      {"block one pixel inside bottom and right", -1, 351, 351, false},
  };
  for (const auto& c : cases) {
    Game game(c.speed);
    game.picUser.Width(c.userWidth);
    game.picUser.Height(c.userHeight);
    const bool user = c.box < 0;
    auto& box = user ? game.picUser : game.picEnemy(c.box);
    const std::uint32_t hit = user ? kYellow : kLightBlue, clear = user ? kDarkRed : kDarkBlue;
    box.Move(c.left, c.top);
    box.BackColor(c.sounds ? clear : hit);  // every tick sets the colour
    std::uint32_t whilePlaying = 0;
    game.player.onPlay = [&] { whilePlaying = box.BackColor(); };
    game.tmrEnemies_Timer();
    EXPECT_EQ(box.BackColor(), c.sounds ? hit : clear) << c.what;
    EXPECT_EQ(game.player.sounds, c.sounds ? Sounds{user ? "ALARM" : "BUZZ"} : Sounds{}) << c.what;
    EXPECT_EQ(game.player.flags, std::vector<std::uint32_t>(c.sounds ? 1 : 0, 6)) << c.what;
    EXPECT_EQ(whilePlaying, c.sounds ? hit : 0) << c.what << ": coloured before the sound";
  }
}

TEST(Hits, TwoHitsBuzzInTurnTheSecondMovingAfterTheFirstBuzzThenClearSilentlyThenBuzzBeforeAlarm) {
  Game game(2);
  game.picEnemy(0).Move(190, 190);
  game.picEnemy(1).Move(200, 200);
  float secondTopDuringFirstBuzz = 0;
  game.player.onPlay = [&] {
    if (game.player.sounds.size() == 1) {
      secondTopDuringFirstBuzz = game.picEnemy(1).Top();
    }
  };
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.player.sounds, (Sounds{"BUZZ", "BUZZ"}));
  EXPECT_EQ(secondTopDuringFirstBuzz, 200);
  EXPECT_EQ(game.picEnemy(1).Top(), 202);

  game.picEnemy(1).Move(40, 40);
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.picEnemy(1).BackColor(), kDarkBlue);
  EXPECT_EQ(game.player.sounds.size(), 3U);  // enemy 0 only
  game.picUser.Move(32, 100);  // at the edge, with enemy 2 on it: the buzz before the alarm
  game.picEnemy(2).Move(40, 110);
  game.tmrEnemies_Timer();
  EXPECT_EQ(game.player.sounds, (Sounds{"BUZZ", "BUZZ", "BUZZ", "BUZZ", "ALARM"}));
}

TEST(Drag, TheBlockFollowsTheLeftButtonAloneRelativeToThePressPointWithoutClamping) {
  const struct {
    const char* what;
    std::int16_t button;
    float pressX, pressY, moveX, moveY;
    float left, top;
  } cases[] = {
      {"150 twips are 10 pixels", 1, 300, 300, 450, 300, 197, 181},
      {"7 twips are 0.4666 pixels", 1, 300, 300, 307, 300, 187 + 7.0F / 15, 181},
      {"relative to the press point", 1, 0, 600, 150, 300, 197, 161},
      {"far out of the window", 1, 0, 0, -15000, 30000, -813, 2181},
      {"right button alone", 2, 300, 300, 450, 450, 187, 181},
      {"left and right together", 3, 300, 300, 450, 450, 187, 181},
      {"middle button", 4, 300, 300, 450, 450, 187, 181},
      {"no button", 0, 300, 300, 450, 450, 187, 181},
  };
  for (const auto& c : cases) {
    frmGame game;
    game.picUser_MouseDown(c.button, 0, c.pressX, c.pressY);
    game.picUser_MouseMove(c.button, 0, c.moveX, c.moveY);
    EXPECT_EQ(game.picUser.Left(), c.left) << c.what;
    EXPECT_EQ(game.picUser.Top(), c.top) << c.what;
  }
  frmGame game;  // before any press the press point reads as 0
  game.picUser_MouseMove(1, 0, 150, 30);
  EXPECT_EQ(game.picUser.Left(), 197);
  EXPECT_EQ(game.picUser.Top(), 183);
}

TEST(Placement, TheWindowIsCentredOnTheUpperPartOfTheScreenNeverBeyondItsTopLeft) {
  // On the 1024 × 768 test screen (15 360 × 11 520 twips), in twips of the outer frame.
  const struct {
    float width, height;
    float left, top;
  } cases[] = {
      {6375, 6480, 4500, 1650},  // the game's own size: 4 493 and 1 656 on whole pixels
      {6375, 9000, 4500, 390},   // 4 896 − 4 500 = 396
      {4001, 9000, 5685, 390},   // halves taken separately: 7 680 − 2 000 = 5 680
      {6375, 12000, 4500, 0},    // taller than 85 % of the screen
      {20000, 6480, 0, 1650},    // wider than the screen
  };
  for (const auto& c : cases) {
    Game game;
    game.outerWidth = c.width;
    game.outerHeight = c.height;
    game.Show();
    EXPECT_EQ(game.Left(), c.left) << c.width << " x " << c.height;
    EXPECT_EQ(game.Top(), c.top) << c.width << " x " << c.height;
  }
  // Rounding halves to even and halving each operand separately, before whole pixels.
  EXPECT_EQ(frmGame::CentredTop(10, 0), 4);   // 8.5 rounds to 8
  EXPECT_EQ(frmGame::CentredTop(30, 0), 13);  // 25.5 rounds to 26
  EXPECT_EQ(frmGame::CentredTop(11520, 6481), 1656);
}

}  // namespace
