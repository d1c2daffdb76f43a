// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "game/frmGame.h"

namespace {

struct PlacementCase {
  float screen;
  float form;
  float expected;
};

TEST(Placement, TopCentresTheWindowOnTheUpperPartOfTheScreen) {
  const PlacementCase cases[] = {
      {11520, 9000, 396},     // 9 792 \ 2 − 9 000 \ 2
      {11520, 6480, 1656},    // the game's own client height
      {11520, 12000, -1104},  // taller than 85 %: negative, Form_Load then clamps
      {10, 0, 4},             // 8.5 rounds to the even 8
      {30, 0, 13},            // 25.5 rounds to the even 26
      {11520, 6481, 1656},    // the halves are taken separately
  };
  for (const auto& c : cases) {
    EXPECT_EQ(frmGame::CentredTop(c.screen, c.form), c.expected) << c.screen << " " << c.form;
  }
}

TEST(Placement, LeftHalvesScreenAndWindowSeparately) {
  const PlacementCase cases[] = {
      {15360, 4001, 5680},  // halving the difference would give 5 679
      {15360, 6375, 4493},
      {15360, 20000, -2320},  // wider than the screen
      {15361, 0, 7680},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(frmGame::CentredLeft(c.screen, c.form), c.expected) << c.screen << " " << c.form;
  }
}

}  // namespace
