// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: a borderless box filled with its colour that receives mouse events.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "Color.h"
#include "OnError.h"

namespace platform {

class Form;
struct Backend;

// Position and size are single-precision pixels of the window's client area; the box sits on
// the nearest whole pixels, and reading a value back returns the value stored. Mouse
// coordinates reach the handlers in twips of the box's own interior.
class PictureBox {
 public:
  struct Impl;  // the back end's box
  using MouseHandler =
      std::function<void(std::int16_t Button, std::int16_t Shift, float X, float Y)>;
  enum class Mouse { Down, Move, Up };

  PictureBox(Form& parent, std::string_view name);
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;
  ~PictureBox();

  float Left() const { return left_; }
  void Left(float pixels);
  float Top() const { return top_; }
  void Top(float pixels);
  float Width() const { return width_; }
  void Width(float pixels);
  float Height() const { return height_; }
  void Height(float pixels);
  // Sets Left and Top together, keeping the size.
  void Move(float left, float top);

  std::uint32_t BackColor() const { return color_; }
  void BackColor(std::uint32_t color);
  // Places the box above every control created before this call.
  void BringToFront();

  void OnMouseDown(MouseHandler handler);
  void OnMouseMove(MouseHandler handler);
  void OnMouseUp(MouseHandler handler);

 private:
  friend struct Backend;
  // Back-end entry: a mouse event at a point in pixels of the box's interior, handed on in
  // twips; false when no handler takes it.
  bool Raise(Mouse event, std::int16_t Button, std::int16_t Shift, float xPixels, float yPixels);
  // Back-end hooks: put the box on its whole pixels; fill it with a decoded colour.
  void Place();
  void Paint(Rgb color);

  std::unique_ptr<Impl> impl_;
  float left_ = 0;
  float top_ = 0;
  float width_ = 0;
  float height_ = 0;
  std::uint32_t color_ = 0;
  MouseHandler down_;
  MouseHandler move_;
  MouseHandler up_;
};

// An indexed group of boxes, reached as `group(i)`; an index outside the group fails.
template <std::size_t N>
class PictureBoxArray {
 public:
  template <typename Make>
  explicit PictureBoxArray(Make make) {
    for (std::size_t i = 0; i < N; ++i) {
      boxes_[i] = make(i);
    }
  }

  PictureBox& operator()(std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) {
      Fail();
    }
    return *boxes_[static_cast<std::size_t>(index)];
  }

 private:
  std::array<std::unique_ptr<PictureBox>, N> boxes_;
};

}  // namespace platform
