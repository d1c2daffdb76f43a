// SPDX-License-Identifier: GPL-3.0-or-later
// The game window without a window system: a client area in memory with no frame, so its outer
// size is its client size, on a 1024 x 768 screen of its own.
#include <algorithm>

#include "Headless.h"
#include "HeadlessNative.h"
#include "platform/Twips.h"

namespace platform {

void Stack(Form::Impl& form, HeadlessControl& control) {
  Unstack(form, control);
  form.stacking.push_back(&control);
}

void Unstack(Form::Impl& form, HeadlessControl& control) {
  std::erase(form.stacking, &control);
}

Form::Form(std::string_view /*name*/, int clientWidthPixels, int clientHeightPixels)
    : impl_(std::make_unique<Impl>()) {
  impl_->width = clientWidthPixels;
  impl_->height = clientHeightPixels;
  Backend::WindowMade();
}

Form::~Form() = default;

float Form::Left() const {
  return impl_->left;
}

void Form::Left(float twips) {
  impl_->left = OnWholePixels(twips);
}

float Form::Top() const {
  return impl_->top;
}

void Form::Top(float twips) {
  impl_->top = OnWholePixels(twips);
}

float Form::Width() const {
  return PixelsToTwips(impl_->width);
}

float Form::Height() const {
  return PixelsToTwips(impl_->height);
}

void Form::Caption(std::string_view /*text*/) {}

void Form::Icon(std::u16string_view /*resourceName*/) {}

void Form::Paint(Rgb color) {
  impl_->color = color;
}

void Form::Display() {}  // nothing to show

namespace headless {
namespace {

const HeadlessControl* ControlAt(const Form::Impl& form, int x, int y) {
  for (auto it = form.stacking.rbegin(); it != form.stacking.rend(); ++it) {
    const HeadlessControl& c = **it;
    if (x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height) {
      return &c;
    }
  }
  return nullptr;
}

}  // namespace

Rgb ColorAt(const Form& form, int x, int y) {
  const HeadlessControl* control = ControlAt(Backend::Of(form), x, y);
  return control != nullptr ? control->color : Backend::Of(form).color;
}

void Pointer(Form& form, int x, int y, int held, int changed) {
  Form::Impl& window = Backend::Of(form);
  PictureBox* target = window.captured;
  if (target == nullptr) {
    const HeadlessControl* control = ControlAt(window, x, y);
    target = control != nullptr ? control->box : nullptr;
  }
  if (target == nullptr) {
    return;
  }
  const HeadlessControl& box = Backend::Of(*target).control;
  const auto bx = static_cast<float>(x - box.left);
  const auto by = static_cast<float>(y - box.top);
  const bool pressed = changed != 0 && (held & changed) != 0;
  window.captured = held != 0 ? target : nullptr;
  const auto event = changed == 0 ? PictureBox::Mouse::Move
                     : pressed    ? PictureBox::Mouse::Down
                                  : PictureBox::Mouse::Up;
  Backend::Mouse(*target, event, static_cast<std::int16_t>(changed == 0 ? held : changed), 0, bx,
                 by);
}

}  // namespace headless
}  // namespace platform
