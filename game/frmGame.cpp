// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmGame.h"

#include <memory>
#include <string>

#include "platform/App.h"
#include "platform/Numeric.h"
#include "platform/OnError.h"
#include "platform/Runtime.h"

using platform::CLng;
using platform::Do;
using platform::If;
using platform::IntDiv;
using platform::Sub;

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDarkRed = 0x000080;
constexpr std::uint32_t kDarkBlue = 0x800000;

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

std::unique_ptr<frmGame> instance;

}  // namespace

frmGame::frmGame()
    : Form("frmGame", 425, 432),
      pbCanvas(*this, "pbCanvas"),
      picEnemy([this](std::size_t i) {
        return std::make_unique<platform::PictureBox>(*this,
                                                      "picEnemy(" + std::to_string(i) + ")");
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
}

frmGame& frmGame::Default() {
  if (!instance) {
    instance = std::make_unique<frmGame>();
    platform::Runtime::Current().AtShutdown([] { instance.reset(); });
  }
  return *instance;
}

float frmGame::CentredTop(float screenHeight, float formHeight) {
  return static_cast<float>(
      Sub(IntDiv(CLng(screenHeight * 0.85), 2), IntDiv(CLng(formHeight), 2)));
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
