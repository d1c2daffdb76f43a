// SPDX-License-Identifier: GPL-3.0-or-later
// Paths in a page: a page has no folders.
#include "platform/Environment.h"

namespace platform {

Environment& NativeEnvironment() {
  static NoFolders environment;
  return environment;
}

}  // namespace platform
