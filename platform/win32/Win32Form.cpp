// SPDX-License-Identifier: GPL-3.0-or-later
// The game window on Windows: a registered top-level class with caption, system menu and close
// box, no sizing border, no minimise or maximise box. Its outer size comes from
// AdjustWindowRectEx before it is shown, so the load handler places it by its outer size. It
// paints its own background; the program declares no DPI awareness, so Windows scales it as a
// whole on high-DPI screens, as it did for the original game.
#include "Win32Native.h"
#include "platform/OnError.h"
#include "platform/Twips.h"

namespace platform {
namespace {

constexpr wchar_t kFormClass[] = L"WirbelboxForm";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Form* form = Receiver<Form>(hwnd, message, lParam);
  if (form == nullptr) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_CLOSE:
      if (Backend::Unload(*form)) {
        ::DestroyWindow(hwnd);
      }
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);  // the only window: the program ends with it
      return 0;
    case WM_NCDESTROY:
      Backend::Of(*form).hwnd = nullptr;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(hwnd, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, Backend::Of(*form).background);
      return 1;
    }
    case WM_HSCROLL:
      ScrollBarAction(reinterpret_cast<HWND>(lParam), wParam);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

RECT Outer(HWND hwnd) {
  RECT rect{};
  if (!::GetWindowRect(hwnd, &rect)) {
    Fail();
  }
  return rect;
}

}  // namespace

Form::Form(std::string_view name, int clientWidthPixels, int clientHeightPixels)
    : impl_(std::make_unique<Impl>()) {
  RegisterOnce(kFormClass, FormProc);
  RECT outer{0, 0, clientWidthPixels, clientHeightPixels};
  ::AdjustWindowRectEx(&outer, kFormStyle, FALSE, 0);
  impl_->background = ::CreateSolidBrush(0);
  impl_->hwnd = ::CreateWindowExW(0, kFormClass, Wide(name).c_str(), kFormStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                  nullptr, nullptr, Instance(), this);
  if (impl_->hwnd == nullptr) {
    Fail();
  }
  Backend::WindowMade();
}

Form::~Form() {
  if (impl_->hwnd != nullptr) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(impl_->hwnd);
  }
  Replace(impl_->background, nullptr);
}

float Form::Left() const {
  return PixelsToTwips(Outer(impl_->hwnd).left);
}

void Form::Left(float twips) {
  ::SetWindowPos(impl_->hwnd, nullptr, PlacePixel(twips / kTwipsPerPixel), Outer(impl_->hwnd).top,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::Top() const {
  return PixelsToTwips(Outer(impl_->hwnd).top);
}

void Form::Top(float twips) {
  ::SetWindowPos(impl_->hwnd, nullptr, Outer(impl_->hwnd).left, PlacePixel(twips / kTwipsPerPixel),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::Width() const {
  const RECT rect = Outer(impl_->hwnd);
  return PixelsToTwips(rect.right - rect.left);
}

float Form::Height() const {
  const RECT rect = Outer(impl_->hwnd);
  return PixelsToTwips(rect.bottom - rect.top);
}

void Form::Caption(std::string_view text) {
  ::SetWindowTextW(impl_->hwnd, Wide(text).c_str());
}

void Form::Paint(Rgb color) {
  Replace(impl_->background, Brush(color));
  ::InvalidateRect(impl_->hwnd, nullptr, TRUE);
}

void Form::Icon(std::u16string_view resourceName) {
  const std::wstring name(resourceName.begin(), resourceName.end());
  const auto load = [&](int size) {
    return reinterpret_cast<LPARAM>(
        ::LoadImageW(Instance(), name.c_str(), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  const LPARAM big = load(::GetSystemMetrics(SM_CXICON));
  if (big == 0) {
    Fail();
  }
  ::SendMessageW(impl_->hwnd, WM_SETICON, ICON_BIG, big);
  ::SendMessageW(impl_->hwnd, WM_SETICON, ICON_SMALL, load(::GetSystemMetrics(SM_CXSMICON)));
}

void Form::Display() {
  ::ShowWindow(impl_->hwnd, SW_SHOWNORMAL);
  ::UpdateWindow(impl_->hwnd);
}

}  // namespace platform
