// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the process-wide runtime that windows, timers and the event loop live in.
#pragma once

#include <functional>
#include <memory>
#include <vector>

class QApplication;

namespace platform {

// Keeps the command line and, from the first window on, the GUI application. Exactly one exists,
// created by main() (or a test's main) before anything else of the platform is used.
class Runtime {
 public:
  Runtime(int& argc, char** argv);
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;
  ~Runtime();

  static Runtime& Current();

  // The GUI application, created on first use so that a start that ends early never touches
  // the display.
  QApplication& Gui();

  // Handles events until the last window has closed; returns at once when no window was made.
  int Run();

  // Runs `cleanup` before the GUI application goes away, last registered first.
  void AtShutdown(std::function<void()> cleanup);

  int ArgumentCount() const { return argc_; }
  char** Arguments() const { return argv_; }

 private:
  int& argc_;
  char** argv_;
  // What Qt is given: the program name alone, so that no argument is ever taken as an option.
  int guiArgc_ = 1;
  std::vector<char*> guiArgv_;
  std::unique_ptr<QApplication> gui_;
  std::vector<std::function<void()>> cleanups_;
};

}  // namespace platform
