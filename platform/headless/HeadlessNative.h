// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the headless back end's objects: every control a rectangle in memory, in stacking
// order under its window.
#pragma once

#include <chrono>
#include <vector>

#include "platform/Backend.h"

namespace platform {

// A control as the window sees it: its place, its colour, and what receives its mouse events.
struct HeadlessControl {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  Rgb color;
  PictureBox* box = nullptr;  // none for the scroll bar
};

struct Form::Impl {
  int width = 0;
  int height = 0;
  float left = 0;
  float top = 0;
  Rgb color;
  std::vector<HeadlessControl*> stacking;  // bottom first
  PictureBox* captured = nullptr;
};

struct PictureBox::Impl {
  Form::Impl* form = nullptr;
  HeadlessControl control;
};

struct HScrollBar::Impl {
  Form::Impl* form = nullptr;
  HeadlessControl control;
};

struct Timer::Impl {
  bool pending = false;
  std::chrono::milliseconds due{0};
};

// Puts a control on top of its window's stacking order (adding it the first time).
void Stack(Form::Impl& form, HeadlessControl& control);
void Unstack(Form::Impl& form, HeadlessControl& control);

}  // namespace platform
