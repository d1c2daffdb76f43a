// SPDX-License-Identifier: GPL-3.0-or-later
// The text operations that need no system tables.
#include "Strings.h"

#include "OnError.h"

namespace platform {

String Left(const String& text, std::int32_t length) {
  if (length < 0) {
    Fail();
  }
  return text.substr(0, static_cast<std::size_t>(length));
}

}  // namespace platform
