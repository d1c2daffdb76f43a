// SPDX-License-Identifier: GPL-3.0-or-later
// The box's properties and events, the same on every back end.
#include "PictureBox.h"

#include "Twips.h"

namespace platform {

void PictureBox::Left(float pixels) {
  left_ = pixels;
  Place();
}

void PictureBox::Top(float pixels) {
  top_ = pixels;
  Place();
}

void PictureBox::Width(float pixels) {
  width_ = pixels;
  Place();
}

void PictureBox::Height(float pixels) {
  height_ = pixels;
  Place();
}

void PictureBox::Move(float left, float top) {
  left_ = left;
  top_ = top;
  Place();
}

void PictureBox::BackColor(std::uint32_t color) {
  Paint(DecodeColor(color));
  color_ = color;
}

void PictureBox::OnMouseDown(MouseHandler handler) {
  down_ = std::move(handler);
}

void PictureBox::OnMouseMove(MouseHandler handler) {
  move_ = std::move(handler);
}

void PictureBox::OnMouseUp(MouseHandler handler) {
  up_ = std::move(handler);
}

bool PictureBox::Raise(Mouse event, std::int16_t Button, std::int16_t Shift, float xPixels,
                       float yPixels) {
  const MouseHandler& handler = event == Mouse::Down ? down_ : event == Mouse::Move ? move_ : up_;
  if (!handler) {
    return false;
  }
  handler(Button, Shift, xPixels * kTwipsPerPixel, yPixels * kTwipsPerPixel);
  return true;
}

}  // namespace platform
