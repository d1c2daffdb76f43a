// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance suite's program on the homes whose tests have no main of their own.
#include <gtest/gtest.h>

#include "platform/Runtime.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  platform::Runtime runtime(argc, argv);
  return RUN_ALL_TESTS();
}
