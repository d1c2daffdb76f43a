// SPDX-License-Identifier: GPL-3.0-or-later
// The application without a window system: always the first instance, no command line, the
// resources compiled in, a 1024 x 768 screen.
#include <cstdlib>

#include "platform/App.h"
#include "platform/Twips.h"

namespace platform::App {

bool PrevInstance() {
  return false;
}

void End() {
  std::exit(0);
}

String Command() {
  return {};
}

}  // namespace platform::App

namespace platform::Screen {

float Width() {
  return PixelsToTwips(1024);
}

float Height() {
  return PixelsToTwips(768);
}

}  // namespace platform::Screen
