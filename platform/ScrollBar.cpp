// SPDX-License-Identifier: GPL-3.0-or-later
// The scroll bar's range, steps and value, the same on every back end; the back end only shows
// them and reports the user's actions.
#include "ScrollBar.h"

#include <algorithm>

#include "OnError.h"

namespace platform {

void HScrollBar::Range(std::int16_t min, std::int16_t max) {
  if (min > max) {
    Fail();
  }
  min_ = min;
  max_ = max;
  value_ = std::clamp(value_, min_, max_);
  Show();
}

void HScrollBar::Steps(std::int16_t smallChange, std::int16_t largeChange) {
  smallChange_ = smallChange;
  largeChange_ = largeChange;
  Show();
}

void HScrollBar::Value(std::int16_t value) {
  if (value < min_ || value > max_) {
    Fail();
  }
  value_ = value;
  Show();
}

void HScrollBar::Scrolled(Scroll action, int position) {
  int value = value_;
  switch (action) {
    case Scroll::LineLeft:
      value -= smallChange_;
      break;
    case Scroll::LineRight:
      value += smallChange_;
      break;
    case Scroll::PageLeft:
      value -= largeChange_;
      break;
    case Scroll::PageRight:
      value += largeChange_;
      break;
    case Scroll::ToPosition:
      value = position;
      break;
  }
  value_ = static_cast<std::int16_t>(std::clamp<int>(value, min_, max_));
  Show();
}

}  // namespace platform
