// SPDX-License-Identifier: GPL-3.0-or-later
// The one runtime and its shutdown, the same on every back end.
#include "Runtime.h"

#include <cassert>

namespace platform {
namespace {
Runtime* current = nullptr;
}  // namespace

Runtime& Runtime::Current() {
  assert(current != nullptr);
  return *current;
}

void Runtime::AtShutdown(std::function<void()> cleanup) {
  cleanups_.push_back(std::move(cleanup));
}

void Runtime::Enter() {
  assert(current == nullptr);
  current = this;
}

void Runtime::Leave() {
  while (!cleanups_.empty()) {
    auto cleanup = std::move(cleanups_.back());
    cleanups_.pop_back();
    cleanup();
  }
  current = nullptr;
}

}  // namespace platform
