// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime without a window system: no event loop; tests drive time and the pointer
// (Headless.h).
#include "HeadlessNative.h"

namespace platform {

std::unique_ptr<Runtime::Impl, Runtime::Closer> Runtime::Open(int& /*argc*/, char** /*argv*/) {
  return std::unique_ptr<Impl, Closer>(new Impl);
}

void Runtime::Closer::operator()(Impl* impl) const {
  delete impl;
}

int Runtime::Loop() {
  return 0;
}

void PaintWindows() {}

}  // namespace platform
