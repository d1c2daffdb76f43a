// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the test programs that need the platform's runtime: it lives as long as the tests.
#include <gtest/gtest.h>

#include "platform/Runtime.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  platform::Runtime runtime(argc, argv);
  return RUN_ALL_TESTS();
}
