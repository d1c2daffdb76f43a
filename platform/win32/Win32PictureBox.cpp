// SPDX-License-Identifier: GPL-3.0-or-later
// Picture boxes on Windows: child windows that fill themselves with their colour, clipped
// against their siblings; a press captures the mouse until every button is up again.
#include <windowsx.h>

#include "Win32Native.h"
#include "platform/OnError.h"

namespace platform {
namespace {

std::int16_t Shift(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_SHIFT) != 0 ? 1 : 0) |
                                   ((keys & MK_CONTROL) != 0 ? 2 : 0) |
                                   (::GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

std::int16_t HeldButtons(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_LBUTTON) != 0 ? 1 : 0) |
                                   ((keys & MK_RBUTTON) != 0 ? 2 : 0) |
                                   ((keys & MK_MBUTTON) != 0 ? 4 : 0));
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  PictureBox* box = Receiver<PictureBox>(hwnd, message, lParam);
  if (box == nullptr) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // Coordinates are signed: with the mouse captured they run outside the box. In game pixels, so
  // that a drag follows the pointer 1:1 at any scale.
  const double scale = Scale(hwnd);
  const auto x = static_cast<float>(GET_X_LPARAM(lParam) / scale);
  const auto y = static_cast<float>(GET_Y_LPARAM(lParam) / scale);
  const auto press = [&](std::int16_t button) {
    ::SetCapture(hwnd);
    Backend::Mouse(*box, PictureBox::Mouse::Down, button, Shift(wParam), x, y);
    return 0;
  };
  const auto release = [&](std::int16_t button) {
    Backend::Mouse(*box, PictureBox::Mouse::Up, button, Shift(wParam), x, y);
    if (HeldButtons(wParam) == 0 && ::GetCapture() == hwnd) {
      ::ReleaseCapture();
    }
    return 0;
  };
  switch (message) {
    case WM_LBUTTONDOWN:
      return press(1);
    case WM_RBUTTONDOWN:
      return press(2);
    case WM_MBUTTONDOWN:
      return press(4);
    case WM_LBUTTONUP:
      return release(1);
    case WM_RBUTTONUP:
      return release(2);
    case WM_MBUTTONUP:
      return release(4);
    case WM_MOUSEMOVE:
      Backend::Mouse(*box, PictureBox::Mouse::Move, HeldButtons(wParam), Shift(wParam), x, y);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT: no flicker
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd, &paint);
      ::FillRect(dc, &paint.rcPaint, Backend::Of(*box).brush);
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

PictureBox::PictureBox(Form& parent, std::string_view name) : impl_(std::make_unique<Impl>()) {
  RegisterOnce(kBoxClass, BoxProc);
  impl_->brush = ::CreateSolidBrush(0);
  impl_->hwnd =
      ::CreateWindowExW(0, kBoxClass, Wide(name).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                        0, 0, 0, 0, Backend::Of(parent).hwnd, nullptr, Instance(), this);
  if (impl_->hwnd == nullptr) {
    Fail();
  }
  BringToFront();  // Windows puts a new child below its siblings; the contract puts it on top
}

PictureBox::~PictureBox() {
  if (::IsWindow(impl_->hwnd)) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
  }
  Replace(impl_->brush, nullptr);
}

void PictureBox::Place() {
  PlaceScaled(impl_->hwnd, left_, top_, width_, height_);
}

void PictureBox::Paint(Rgb color) {
  Replace(impl_->brush, Brush(color));
  ::InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

void PictureBox::BringToFront() {
  ::SetWindowPos(impl_->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace platform
