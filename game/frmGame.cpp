// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmGame.h"

#include <memory>
#include <string>

#include "platform/App.h"
#include "platform/Numeric.h"
#include "platform/OnError.h"
#include "platform/Runtime.h"
#include "platform/Twips.h"
#include "sound/Sound.h"

using platform::CLng;
using platform::Do;
using platform::If;
using platform::IntDiv;
using platform::Sng;
using platform::Sub;

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDarkRed = 0x000080;
constexpr std::uint32_t kDarkBlue = 0x800000;
constexpr std::uint32_t kLightBlue = 0xFFC0C0;
constexpr std::uint32_t kYellow = 0x00FFFF;

// The game's fixed scale: twips per pixel.
constexpr double kTwips = platform::kTwipsPerPixel;

struct Box {
  float left, top, width, height;
};

// Design positions and sizes of the enemies, in pixels of the client area.
constexpr std::array<Box, 4> kEnemies{{
    {46, 38, 61, 61},
    {257, 34, 57, 49},
    {42, 298, 30, 61},
    {281, 311, 101, 21},
}};

void Place(platform::PictureBox& box, const Box& design, std::uint32_t color) {
  box.Move(design.left, design.top);
  box.Width(design.width);
  box.Height(design.height);
  box.BackColor(color);
  box.BringToFront();
}

frmGame* instance = nullptr;  // owned by the runtime

// Whether a block touches or crosses the field's outer edges along one axis. Both comparisons
// are evaluated, so either sum leaving the single range fails the whole test.
bool ReachesEdge(float block, float blockSize, float field, float fieldSize) {
  const bool before = block <= field;
  const bool after = Sng(double{field} + fieldSize) <= Sng(double{block} + blockSize);
  return before || after;
}

}  // namespace

frmGame::frmGame()
    : Form("frmGame", 425, 432),
      pbCanvas(*this, "pbCanvas"),
      picEnemy([this](std::size_t i) {
        return std::make_unique<platform::PictureBox>(*this, "picEnemy(" + std::to_string(i) + ")");
      }),
      HScroll1(*this, "HScroll1"),
      picUser(*this, "picUser") {
  Caption("Wirbelbox");
  BackColor(kBlack);
  Do([this] { Icon(u"WIRBELBOX"); });

  Place(pbCanvas, {32, 32, 361, 361}, kWhite);
  for (int i = 0; i < 4; ++i) {
    Place(picEnemy(i), kEnemies[static_cast<std::size_t>(i)], kDarkBlue);
  }
  HScroll1.Move(31, 406, 362, 15);
  HScroll1.Range(0, 10);
  HScroll1.Steps(1, 1);
  HScroll1.Value(1);
  HScroll1.BringToFront();
  Place(picUser, {187, 181, 41, 41}, kDarkRed);

  tmrEnemies.Interval(1);
  tmrEnemies.Enabled(false);

  OnLoad([this] { Form_Load(); });
  OnUnload([this](std::int16_t& Cancel) { Form_Unload(Cancel); });
  picUser.OnMouseDown(
      [this](auto Button, auto Shift, auto X, auto Y) { picUser_MouseDown(Button, Shift, X, Y); });
  picUser.OnMouseMove(
      [this](auto Button, auto Shift, auto X, auto Y) { picUser_MouseMove(Button, Shift, X, Y); });
  picUser.OnMouseUp(
      [this](auto Button, auto Shift, auto X, auto Y) { picUser_MouseUp(Button, Shift, X, Y); });
  tmrEnemies.OnTimer([this] { tmrEnemies_Timer(); });
}

frmGame& frmGame::Default() {
  return instance != nullptr ? *instance : platform::Runtime::Current().Own(instance);
}

float frmGame::CentredTop(float screenHeight, float formHeight) {
  return static_cast<float>(Sub(IntDiv(CLng(screenHeight * 0.85), 2), IntDiv(CLng(formHeight), 2)));
}

float frmGame::CentredLeft(float screenWidth, float formWidth) {
  return static_cast<float>(Sub(IntDiv(CLng(screenWidth), 2), IntDiv(CLng(formWidth), 2)));
}

void frmGame::Form_Load() {
  Do([this] { Top(CentredTop(platform::Screen::Height(), Height())); });
  Do([this] { Left(CentredLeft(platform::Screen::Width(), Width())); });
  if (If([this] { return Top() < 0; })) {
    Do([this] { Top(0); });
  }
  if (If([this] { return Left() < 0; })) {
    Do([this] { Left(0); });
  }
}

void frmGame::Form_Unload(std::int16_t& /*Cancel*/) {
  // The window's original design asked to delete a file with an empty name here, which always
  // fails and is ignored; closing the window changes nothing.
}

void frmGame::picUser_MouseDown(std::int16_t /*Button*/, std::int16_t /*Shift*/, float X, float Y) {
  Do([&] { StartX = X; });
  Do([&] { StartY = Y; });
  Do([this] { tmrEnemies.Enabled(true); });
  // Every run starts enemy 0 down-right, 1 down-left, 2 up-right, 3 up-left.
  EnemyDirY[0] = 0;
  EnemyDirX[0] = 0;
  EnemyDirY[1] = 0;
  EnemyDirX[1] = 1;
  EnemyDirY[2] = 1;
  EnemyDirX[2] = 0;
  EnemyDirY[3] = 1;
  EnemyDirX[3] = 1;
}

void frmGame::picUser_MouseMove(std::int16_t Button, std::int16_t /*Shift*/, float X, float Y) {
  if (Button == 1) {
    // One pixel of pointer movement moves the block one pixel; there is no clamping.
    Do([&] {
      picUser.Move(Sng(picUser.Left() + Sng(Sng(X - StartX.value_or(0)) / kTwips)),
                   Sng(picUser.Top() + Sng(Sng(Y - StartY.value_or(0)) / kTwips)));
    });
  }
}

void frmGame::picUser_MouseUp(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/,
                              float /*Y*/) {
  tmrEnemies.Enabled(false);
}

void frmGame::tmrEnemies_Timer() {
  // Edge values of the hit test; before the first enemy they are empty and compare as 0.
  float EnemyBottom = 0;
  float EnemyRight = 0;
  float UserBottom = 0;
  float UserRight = 0;

  for (std::size_t n = 0; n < EnemyDirY.size(); ++n) {
    const int i = static_cast<int>(n);
    // Vertical step: move first, then turn once past the limit (strictly).
    if (EnemyDirY[n] == 0) {
      Do([&] { picEnemy(i).Top(Sng(double{picEnemy(i).Top()} + HScroll1.Value())); });
      if (If([&] {
            return Sng(Height() / kTwips - picEnemy(i).Height() - 20) < picEnemy(i).Top();
          })) {
        EnemyDirY[n] = 1;
      }
    } else {
      Do([&] { picEnemy(i).Top(Sng(double{picEnemy(i).Top()} - HScroll1.Value())); });
      if (If([&] { return picEnemy(i).Top() < 0; })) {
        EnemyDirY[n] = 0;
      }
    }
    // Horizontal step: the right limit is the field's right edge, met by the enemy's left edge.
    if (EnemyDirX[n] == 0) {
      Do([&] { picEnemy(i).Left(Sng(double{picEnemy(i).Left()} + HScroll1.Value())); });
      if (If([&] {
            return Sng(double{pbCanvas.Left()} + pbCanvas.Width()) < picEnemy(i).Left();
          })) {
        EnemyDirX[n] = 1;
      }
    } else {
      Do([&] { picEnemy(i).Left(Sng(double{picEnemy(i).Left()} - HScroll1.Value())); });
      if (If([&] { return picEnemy(i).Left() < 0; })) {
        EnemyDirX[n] = 0;
      }
    }

    // Hit test: both blocks are closed ranges, so touching edges count as a hit.
    Do([&] { EnemyBottom = Sng(double{picEnemy(i).Top()} + picEnemy(i).Height()); });
    Do([&] { EnemyRight = Sng(double{picEnemy(i).Left()} + picEnemy(i).Width()); });
    Do([&] { UserBottom = Sng(double{picUser.Top()} + picUser.Height()); });
    Do([&] { UserRight = Sng(double{picUser.Left()} + picUser.Width()); });
    if (!If([&] {
          const bool below = EnemyBottom >= picUser.Top();
          const bool above = picEnemy(i).Top() <= UserBottom;
          return below && above;
        })) {
      Do([&] { picEnemy(i).BackColor(kDarkBlue); });
    } else if (!If([&] {
                 const bool right = EnemyRight >= picUser.Left();
                 const bool left = picEnemy(i).Left() <= UserRight;
                 return right && left;
               })) {
      Do([&] { picEnemy(i).BackColor(kDarkBlue); });
    } else {
      Do([&] { picEnemy(i).BackColor(kLightBlue); });
      PlayResSound(u"BUZZ");
    }
  }

  // Edge test: at or beyond the field's outer edge the block turns yellow and the tick ends.
  if (If([&] {
        return ReachesEdge(picUser.Top(), picUser.Height(), pbCanvas.Top(), pbCanvas.Height());
      })) {
    Do([&] { picUser.BackColor(kYellow); });
    PlayResSound(u"ALARM");
    return;
  }
  if (If([&] {
        return ReachesEdge(picUser.Left(), picUser.Width(), pbCanvas.Left(), pbCanvas.Width());
      })) {
    Do([&] { picUser.BackColor(kYellow); });
    PlayResSound(u"ALARM");
    return;
  }
  Do([&] { picUser.BackColor(kDarkRed); });
}
