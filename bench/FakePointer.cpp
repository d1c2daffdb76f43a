// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakePointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

FakePointer::FakePointer() : display_(XOpenDisplay(nullptr)) {}

FakePointer::~FakePointer() {
  if (display_ != nullptr) {
    XCloseDisplay(display_);
  }
}

void FakePointer::MoveTo(int x, int y) {
  if (display_ != nullptr) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XFlush(display_);
  }
}

void FakePointer::Press(unsigned button) {
  if (display_ != nullptr) {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XFlush(display_);
  }
}

void FakePointer::Release(unsigned button) {
  if (display_ != nullptr) {
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XFlush(display_);
  }
}
