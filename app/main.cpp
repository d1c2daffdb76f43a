// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"
#include "platform/Runtime.h"

int main(int argc, char** argv) {
  platform::Runtime runtime(argc, argv);
  Main();
  return runtime.Run();
}
