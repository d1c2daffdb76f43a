// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the game window, its controls and their event handlers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/Form.h"
#include "platform/PictureBox.h"
#include "platform/ScrollBar.h"
#include "platform/Timer.h"

class frmGame : public platform::Form {
 public:
  // Builds the window and every control with its design values; nothing is shown yet.
  frmGame();

  // The one game window, created on first use.
  static frmGame& Default();

  // Where Form_Load puts the window (twips), from the screen's and the window's own size.
  static float CentredTop(float screenHeight, float formHeight);
  static float CentredLeft(float screenWidth, float formWidth);

  // Listed bottom to top, the order in which they are stacked.
  platform::PictureBox pbCanvas;
  platform::PictureBoxArray<4> picEnemy;
  platform::HScrollBar HScroll1;
  platform::PictureBox picUser;
  platform::Timer tmrEnemies;

  // The handlers the runtime raises; tests raise them too.
  void picUser_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void picUser_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void picUser_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void tmrEnemies_Timer();

  // The press point in the player block's own twips; empty (reads as 0) until the first press.
  std::optional<float> StartX;
  std::optional<float> StartY;
  // 0 moves an enemy down (right), any other value up (left).
  std::array<std::int16_t, 4> EnemyDirY{};
  std::array<std::int16_t, 4> EnemyDirX{};

 private:
  void Form_Load();
  void Form_Unload(std::int16_t& Cancel);
};
