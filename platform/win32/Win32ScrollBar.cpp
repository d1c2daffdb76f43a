// SPDX-License-Identifier: GPL-3.0-or-later
// The speed bar on Windows: the system SCROLLBAR control showing the bar's range and value. Its
// arrows, trough and thumb come back through the window as the bar's actions.
#include "Win32Native.h"
#include "platform/OnError.h"

namespace platform {

void ScrollBarAction(HWND hwnd, WPARAM request) {
  auto* bar = Owner<HScrollBar>(hwnd);
  if (bar == nullptr) {
    return;
  }
  using Scroll = HScrollBar::Scroll;
  switch (LOWORD(request)) {
    case SB_LINELEFT:
      return Backend::Scrolled(*bar, Scroll::LineLeft);
    case SB_LINERIGHT:
      return Backend::Scrolled(*bar, Scroll::LineRight);
    case SB_PAGELEFT:
      return Backend::Scrolled(*bar, Scroll::PageLeft);
    case SB_PAGERIGHT:
      return Backend::Scrolled(*bar, Scroll::PageRight);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:  // the position fits the word: the bar's range is 16-bit
      return Backend::Scrolled(*bar, Scroll::ToPosition,
                               static_cast<std::int16_t>(HIWORD(request)));
    case SB_LEFT:
      return Backend::Scrolled(*bar, Scroll::ToPosition, bar->Min());
    case SB_RIGHT:
      return Backend::Scrolled(*bar, Scroll::ToPosition, bar->Max());
    default:
      return;
  }
}

HScrollBar::HScrollBar(Form& parent, std::string_view /*name*/) : impl_(std::make_unique<Impl>()) {
  impl_->hwnd = ::CreateWindowExW(
      0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | SBS_HORZ, 0,
      0, 0, 0, Backend::Of(parent).hwnd, nullptr, Instance(), nullptr);
  if (impl_->hwnd == nullptr) {
    Fail();
  }
  ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  BringToFront();  // on top of the controls made before it, as on every home
  Show();
}

HScrollBar::~HScrollBar() {
  if (::IsWindow(impl_->hwnd)) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
  }
}

void HScrollBar::Move(int left, int top, int width, int height) {
  impl_->placed = {left, top, width, height};
  PlaceScaled(impl_->hwnd, left, top, width, height);
}

void HScrollBar::Show() {
  ::SetScrollRange(impl_->hwnd, SB_CTL, min_, max_, FALSE);
  ::SetScrollPos(impl_->hwnd, SB_CTL, value_, TRUE);
}

void HScrollBar::BringToFront() {
  ::SetWindowPos(impl_->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace platform
