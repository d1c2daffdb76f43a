// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: a horizontal scroll bar with a 16-bit value.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

class Form;
struct Backend;

// Placed in whole pixels of the window's client area. The bar keeps its range, steps and value
// here; the back end shows them and reports what the user does with the platform's own bar.
class HScrollBar {
 public:
  struct Impl;  // the back end's scroll bar
  // What the user did: an arrow, a click in the trough, or the thumb moved to a position.
  enum class Scroll { LineLeft, LineRight, PageLeft, PageRight, ToPosition };

  HScrollBar(Form& parent, std::string_view name);
  HScrollBar(const HScrollBar&) = delete;
  HScrollBar& operator=(const HScrollBar&) = delete;
  ~HScrollBar();

  void Move(int left, int top, int width, int height);
  // A range whose minimum lies above its maximum fails; the value is kept within the range.
  void Range(std::int16_t min, std::int16_t max);
  // Steps for an arrow click and for a click in the trough.
  void Steps(std::int16_t smallChange, std::int16_t largeChange);

  std::int16_t Min() const { return min_; }
  std::int16_t Max() const { return max_; }
  std::int16_t SmallChange() const { return smallChange_; }
  std::int16_t LargeChange() const { return largeChange_; }
  std::int16_t Value() const { return value_; }
  // A value outside the range fails.
  void Value(std::int16_t value);

  void BringToFront();

 private:
  friend struct Backend;
  // Back-end entry: the user's action; `position` for ToPosition. The value stays in the range.
  void Scrolled(Scroll action, int position);
  // Back-end hook: show the range, steps and value.
  void Show();

  std::unique_ptr<Impl> impl_;
  std::int16_t min_ = 0;
  std::int16_t max_ = 32767;
  std::int16_t smallChange_ = 1;
  std::int16_t largeChange_ = 1;
  std::int16_t value_ = 0;
};

}  // namespace platform
