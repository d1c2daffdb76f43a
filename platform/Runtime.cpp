// SPDX-License-Identifier: GPL-3.0-or-later
// The one runtime, its event loop's start and its shutdown, the same on every back end.
#include "Runtime.h"

#include <cassert>

namespace platform {
namespace {
Runtime* current = nullptr;
}  // namespace

Runtime::Runtime(int& argc, char** argv) : argc_(argc), argv_(argv) {
  assert(current == nullptr);
  current = this;
  impl_ = Open(argc, argv);
}

Runtime::~Runtime() {
  while (!cleanups_.empty()) {
    auto cleanup = std::move(cleanups_.back());
    cleanups_.pop_back();
    cleanup();
  }
  current = nullptr;
  impl_.reset();
}

Runtime& Runtime::Current() {
  assert(current != nullptr);
  return *current;
}

int Runtime::Run() {
  return windowMade_ ? Loop() : 0;
}

void Runtime::AtShutdown(std::function<void()> cleanup) {
  cleanups_.push_back(std::move(cleanup));
}

}  // namespace platform
