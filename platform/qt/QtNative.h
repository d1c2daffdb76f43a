// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the Qt back end's objects behind the platform's interface, for the back end itself,
// its tests and the measurements (reached through Backend::Of).
#pragma once

#include <QApplication>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

#include "platform/Backend.h"

namespace platform {

struct Runtime::Impl {
  // What Qt is given: the program name alone, so that no argument is ever taken as an option.
  int argc = 1;
  std::vector<char*> argv;
  std::unique_ptr<QApplication> gui;
};

struct Form::Impl {
  std::unique_ptr<QWidget> widget;
  // The frame the window manager will draw, known before the window is first shown.
  std::optional<QMargins> frame;
};

struct PictureBox::Impl {
  std::unique_ptr<QWidget> widget;
};

struct HScrollBar::Impl {
  std::unique_ptr<QScrollBar> bar;
};

struct Timer::Impl {
  QTimer timer;
};

// The GUI application, created on first use so that a start that ends early never touches the
// display.
QApplication& Gui();

}  // namespace platform
