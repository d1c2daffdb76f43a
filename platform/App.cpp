// SPDX-License-Identifier: GPL-3.0-or-later
// What the application object does the same way on every back end.
#include "App.h"

#include <cstdio>

#include "Environment.h"
#include "OnError.h"

namespace platform::App {

String Path() {
  return NativeEnvironment().AppFolder();
}

String EXEName() {
  return NativeEnvironment().AppBaseName();
}

void Kill(const String& path) {
  if (path.empty() || std::remove(ToAnsi(path).c_str()) != 0) {
    Fail();
  }
}

}  // namespace platform::App
