// SPDX-License-Identifier: GPL-3.0-or-later
// Paths without a system: there are no folders.
#include "platform/Environment.h"

namespace platform {

Environment& NativeEnvironment() {
  static NoFolders environment;
  return environment;
}

}  // namespace platform
