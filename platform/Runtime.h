// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the process-wide runtime that windows, timers and the event loop live in.
#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace platform {

struct Backend;

// Keeps the command line and, from the first window on, the window system's application.
// Exactly one exists, created by main() (or a test's main) before anything else of the
// platform is used.
class Runtime {
 public:
  struct Impl;  // the back end's application

  Runtime(int& argc, char** argv);
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;
  ~Runtime();

  static Runtime& Current();

  // Handles events until the last window has closed; returns at once when no window was made.
  int Run();

  // Runs `cleanup` before the window system goes away, last registered first.
  void AtShutdown(std::function<void()> cleanup);

  // Makes an object that the runtime owns and `slot` points to until shutdown, when it is
  // destroyed before the window system. A library that ends the process with exit() (Qt does
  // when the X server goes away) leaves it alone: its destructor would reach into the window
  // system after that was torn down.
  template <typename T>
  T& Own(T*& slot) {
    auto owned = std::make_shared<T>();
    slot = owned.get();
    AtShutdown([&slot, owned]() mutable {
      slot = nullptr;
      owned.reset();
    });
    return *slot;
  }

  int ArgumentCount() const { return argc_; }
  char** Arguments() const { return argv_; }

 private:
  friend struct Backend;
  struct Closer {
    void operator()(Impl* impl) const;  // the back end's, where Impl is complete
  };
  // Back-end hooks: make the application's state; handle events until the last window closed.
  static std::unique_ptr<Impl, Closer> Open(int& argc, char** argv);
  int Loop();

  int& argc_;
  char** argv_;
  std::unique_ptr<Impl, Closer> impl_;
  bool windowMade_ = false;
  std::vector<std::function<void()>> cleanups_;
};

}  // namespace platform
