// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the neutral layer's side that only back ends (and their own tests) include: their
// objects behind each control, and the events they raise. The game never includes it.
#pragma once

#include <cstdint>

#include "Form.h"
#include "PictureBox.h"
#include "Runtime.h"
#include "ScrollBar.h"
#include "Timer.h"

namespace platform {

struct Backend {
  // The back end's object behind a control, the window or the runtime.
  template <typename Object>
  static typename Object::Impl& Of(const Object& object) {
    return *object.impl_;
  }

  // The user closes the window; false keeps it open.
  static bool Unload(Form& form) { return form.RaiseUnload(); }
  // A mouse event on a box, at a point in pixels of the box's interior.
  static bool Mouse(PictureBox& box, PictureBox::Mouse event, std::int16_t button,
                    std::int16_t shift, float xPixels, float yPixels) {
    return box.Raise(event, button, shift, xPixels, yPixels);
  }
  // The user moved the scroll bar.
  static void Scrolled(HScrollBar& bar, HScrollBar::Scroll action, int position = 0) {
    bar.Scrolled(action, position);
  }
  // A timer's wake-up is due.
  static void Due(Timer& timer) { timer.Fire(); }
  // The first window exists: Run handles events from now on.
  static void WindowMade() { Runtime::Current().windowMade_ = true; }
};

// Paints every window of the program now: the neutral layer calls it before a synchronous
// sound blocks the thread, so that the player sees the tick's changes while it plays.
void PaintWindows();

}  // namespace platform
