// SPDX-License-Identifier: GPL-3.0-or-later
// The game window on Windows: a registered top-level class with caption, system menu and close
// box, no sizing border, no minimise or maximise box. Its outer size comes from
// AdjustWindowRectEx before it is shown, so the load handler places it by its outer size. It
// paints its own background. The program is aware of each monitor's scale: the window draws the
// game's pixel grid at its monitor's scale and follows it to a monitor of another scale, while the
// game reads its outer size as at 100 % and its place in game pixels, the same on every screen.
#include <array>
#include <cwchar>

#include "Win32Native.h"
#include "platform/OnError.h"
#include "platform/Twips.h"

namespace platform {
namespace {

constexpr wchar_t kFormClass[] = L"WirbelboxForm";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// Sizes the window for its client area at `dpi`; at `place` (screen pixels) when one is given.
void Fit(const Form::Impl& form, UINT dpi, const RECT* place) {
  const double scale = static_cast<double>(dpi) / kDefaultDpi;
  const RECT outer =
      OuterFor(kFormStyle, PlacePixel(form.width * scale), PlacePixel(form.height * scale), dpi);
  ::SetWindowPos(form.hwnd, nullptr, place != nullptr ? place->left : 0,
                 place != nullptr ? place->top : 0, outer.right - outer.left,
                 outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (place != nullptr ? 0U : SWP_NOMOVE));
}

// After a change of scale, every control is placed again from its place in the game.
BOOL CALLBACK PlaceAgain(HWND child, LPARAM /*unused*/) {
  std::array<wchar_t, 32> name{};
  ::GetClassNameW(child, name.data(), static_cast<int>(name.size()));
  if (std::wcscmp(name.data(), kBoxClass) == 0) {
    if (auto* box = Owner<PictureBox>(child)) {
      box->Move(box->Left(), box->Top());
    }
  } else if (auto* bar = Owner<HScrollBar>(child)) {
    const RECT placed = Backend::Of(*bar).placed;
    bar->Move(placed.left, placed.top, placed.right, placed.bottom);
  }
  return TRUE;
}

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
    case WM_DPICHANGED:  // moved to a monitor of another scale: Windows suggests the place
      Fit(Backend::Of(*form), LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      ::EnumChildWindows(hwnd, PlaceAgain, 0);
      ::InvalidateRect(hwnd, nullptr, TRUE);
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
  impl_->width = clientWidthPixels;
  impl_->height = clientHeightPixels;
  impl_->background = ::CreateSolidBrush(0);
  impl_->hwnd = ::CreateWindowExW(0, kFormClass, Wide(name).c_str(), kFormStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, Instance(), this);
  if (impl_->hwnd == nullptr) {
    Fail();
  }
  Fit(*impl_, Dpi(impl_->hwnd), nullptr);  // the monitor it was made on decides its scale
  Backend::WindowMade();
}

Form::~Form() {
  if (impl_->hwnd != nullptr) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(impl_->hwnd);
  }
  Replace(impl_->background, nullptr);
}

// The place in twips of game pixels; on the screen, in its pixels.
float Form::Left() const {
  return static_cast<float>(PixelsToTwips(Outer(impl_->hwnd).left) / Scale(impl_->hwnd));
}

void Form::Left(float twips) {
  ::SetWindowPos(impl_->hwnd, nullptr, PlacePixel(twips / kTwipsPerPixel * Scale(impl_->hwnd)),
                 Outer(impl_->hwnd).top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::Top() const {
  return static_cast<float>(PixelsToTwips(Outer(impl_->hwnd).top) / Scale(impl_->hwnd));
}

void Form::Top(float twips) {
  ::SetWindowPos(impl_->hwnd, nullptr, Outer(impl_->hwnd).left,
                 PlacePixel(twips / kTwipsPerPixel * Scale(impl_->hwnd)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The outer size at 100 %, whatever the scale: the blue blocks turn at the same places on every
// screen.
float Form::Width() const {
  const RECT outer = OuterFor(kFormStyle, impl_->width, impl_->height, kDefaultDpi);
  return PixelsToTwips(outer.right - outer.left);
}

float Form::Height() const {
  const RECT outer = OuterFor(kFormStyle, impl_->width, impl_->height, kDefaultDpi);
  return PixelsToTwips(outer.bottom - outer.top);
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
