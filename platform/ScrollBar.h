// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: a horizontal scroll bar with a 16-bit value.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

class Form;

// Placed in whole pixels of the window's client area; the user changes its value through the
// platform's own scroll-bar behaviour.
class HScrollBar {
 public:
  struct Impl;  // the back end's scroll bar

  HScrollBar(Form& parent, std::string_view name);
  HScrollBar(const HScrollBar&) = delete;
  HScrollBar& operator=(const HScrollBar&) = delete;
  ~HScrollBar();

  void Move(int left, int top, int width, int height);
  void Range(std::int16_t min, std::int16_t max);
  // Steps for an arrow click and for a click in the trough.
  void Steps(std::int16_t smallChange, std::int16_t largeChange);

  std::int16_t Value() const;
  void Value(std::int16_t value);

  void BringToFront();

  Impl& Native() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
