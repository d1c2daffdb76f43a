// SPDX-License-Identifier: GPL-3.0-or-later
// The window's events, the same on every back end.
#include "Form.h"

namespace platform {

void Form::Show() {
  if (!loaded_) {
    loaded_ = true;
    if (load_) {
      load_();
    }
  }
  Display();
}

void Form::BackColor(std::uint32_t color) {
  Paint(DecodeColor(color));
}

void Form::OnLoad(std::function<void()> handler) {
  load_ = std::move(handler);
}

void Form::OnUnload(std::function<void(std::int16_t&)> handler) {
  unload_ = std::move(handler);
}

bool Form::RaiseUnload() {
  std::int16_t cancel = 0;
  if (unload_) {
    unload_(cancel);
  }
  return cancel == 0;
}

}  // namespace platform
