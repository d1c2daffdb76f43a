// SPDX-License-Identifier: GPL-3.0-or-later
// The scroll bar without a window system: a grey rectangle in its window's stacking order; tests
// move it through the neutral layer's actions.
#include "HeadlessNative.h"

namespace platform {

HScrollBar::HScrollBar(Form& parent, std::string_view /*name*/) : impl_(std::make_unique<Impl>()) {
  impl_->form = &Backend::Of(parent);
  impl_->control.color = {0xF0, 0xF0, 0xF0};
  Stack(*impl_->form, impl_->control);
}

HScrollBar::~HScrollBar() {
  Unstack(*impl_->form, impl_->control);
}

void HScrollBar::Move(int left, int top, int width, int height) {
  impl_->control.left = left;
  impl_->control.top = top;
  impl_->control.width = width;
  impl_->control.height = height;
}

void HScrollBar::Show() {}

void HScrollBar::BringToFront() {
  Stack(*impl_->form, impl_->control);
}

}  // namespace platform
