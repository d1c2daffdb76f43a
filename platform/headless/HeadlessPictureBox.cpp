// SPDX-License-Identifier: GPL-3.0-or-later
// Picture boxes without a window system: rectangles on whole pixels in their window's stacking
// order; the window's pointer (Headless.h) delivers their mouse events.
#include <algorithm>

#include "HeadlessNative.h"
#include "platform/Twips.h"

namespace platform {

PictureBox::PictureBox(Form& parent, std::string_view /*name*/) : impl_(std::make_unique<Impl>()) {
  impl_->form = &Backend::Of(parent);
  impl_->control.box = this;
  Stack(*impl_->form, impl_->control);
}

PictureBox::~PictureBox() {
  Unstack(*impl_->form, impl_->control);
  if (impl_->form->captured == this) {
    impl_->form->captured = nullptr;
  }
}

void PictureBox::Place() {
  impl_->control.left = PlacePixel(left_);
  impl_->control.top = PlacePixel(top_);
  impl_->control.width = std::max(0, PlacePixel(width_));
  impl_->control.height = std::max(0, PlacePixel(height_));
}

void PictureBox::Paint(Rgb color) {
  impl_->control.color = color;
}

void PictureBox::BringToFront() {
  Stack(*impl_->form, impl_->control);
}

}  // namespace platform
