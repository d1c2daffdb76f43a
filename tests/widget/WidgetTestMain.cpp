// SPDX-License-Identifier: GPL-3.0-or-later
// Widget tests run on the same runtime as the game.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Runtime.h"

int main(int argc, char** argv) {
  // No test of the window makes a real sound.
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  testing::InitGoogleTest(&argc, argv);
  platform::Runtime runtime(argc, argv);
  return RUN_ALL_TESTS();
}
