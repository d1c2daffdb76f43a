// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime's state on homes that keep none of their own (Windows, the page, headless): their
// event loop needs nothing made at the start.
#include "Runtime.h"

namespace platform {

struct Runtime::Impl {};

std::unique_ptr<Runtime::Impl, Runtime::Closer> Runtime::Open(int& /*argc*/, char** /*argv*/) {
  return std::unique_ptr<Impl, Closer>(new Impl);
}

void Runtime::Closer::operator()(Impl* impl) const {
  delete impl;
}

}  // namespace platform
