// SPDX-License-Identifier: GPL-3.0-or-later
#include "OnError.h"

namespace platform {

void Fail() {
  throw Failure();
}

}  // namespace platform
