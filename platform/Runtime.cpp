// SPDX-License-Identifier: GPL-3.0-or-later
#include "Runtime.h"

#include <QApplication>

#include <cassert>

namespace platform {
namespace {
Runtime* current = nullptr;
}

Runtime::Runtime(int& argc, char** argv)
    : argc_(argc), argv_(argv), guiArgv_{argc > 0 ? argv[0] : nullptr, nullptr} {
  assert(current == nullptr);
  current = this;
}

Runtime::~Runtime() {
  while (!cleanups_.empty()) {
    auto cleanup = std::move(cleanups_.back());
    cleanups_.pop_back();
    cleanup();
  }
  gui_.reset();
  current = nullptr;
}

Runtime& Runtime::Current() {
  assert(current != nullptr);
  return *current;
}

QApplication& Runtime::Gui() {
  if (!gui_) {
    static char fallbackName[] = "wirbelbox";
    if (guiArgv_[0] == nullptr) {
      guiArgv_[0] = fallbackName;
    }
    gui_ = std::make_unique<QApplication>(guiArgc_, guiArgv_.data());
    QApplication::setApplicationVersion(QStringLiteral(WIRBELBOX_VERSION));
    // Lets desktops match the window to its desktop entry (and icon), on Wayland too.
    QGuiApplication::setDesktopFileName(QStringLiteral(WIRBELBOX_APP_ID));
  }
  return *gui_;
}

int Runtime::Run() {
  return gui_ ? QApplication::exec() : 0;
}

void Runtime::AtShutdown(std::function<void()> cleanup) {
  cleanups_.push_back(std::move(cleanup));
}

}  // namespace platform
