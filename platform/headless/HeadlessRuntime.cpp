// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime without a window system: no event loop; tests drive time and the pointer
// (Headless.h).
#include "HeadlessNative.h"

namespace platform {

int Runtime::Loop() {
  return 0;
}

void PaintWindows() {}

}  // namespace platform
