// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the Win32 back end's objects behind the platform's interface, and what its files
// share.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Backend.h"

namespace platform {

// The game keeps its own pixel grid on every screen; the back end draws it at the monitor's scale.
// Sizes and places below are in the game's pixels unless they say otherwise.
struct Form::Impl {
  HWND hwnd = nullptr;
  HBRUSH background = nullptr;
  int width = 0;  // the client area
  int height = 0;
};

struct PictureBox::Impl {
  HWND hwnd = nullptr;
  HBRUSH brush = nullptr;
};

struct HScrollBar::Impl {
  HWND hwnd = nullptr;
  RECT placed{};  // left, top, width and height
};

struct Timer::Impl {
  UINT_PTR id = 0;
};

inline constexpr wchar_t kBoxClass[] = L"WirbelboxBox";
inline constexpr UINT kDefaultDpi = 96;  // 100 %: one screen pixel per game pixel

HINSTANCE Instance();
// The dots per inch of the monitor a window is on (the system's for no window, or on a Windows
// before 10), and the screen pixels per game pixel that follow.
UINT Dpi(HWND hwnd);
double Scale(HWND hwnd);
// The outer rectangle of a window with `style` around a client area in screen pixels, at `dpi`.
RECT OuterFor(DWORD style, int clientWidth, int clientHeight, UINT dpi);
// Places a child window on a rectangle of game pixels, its edges on whole screen pixels, so that
// boxes that meet in the game meet on the screen.
void PlaceScaled(HWND child, double left, double top, double width, double height);
std::wstring Wide(std::string_view utf8);
// A brush of a decoded colour, replacing (and deleting) the one before.
void Replace(HBRUSH& brush, HBRUSH replacement);
HBRUSH Brush(Rgb color);
// The bar a WM_HSCROLL came from reports the user's action.
void ScrollBarAction(HWND bar, WPARAM request);

// Keeps the object a window was created for with the window.
template <typename Object>
Object* Owner(HWND hwnd) {
  return reinterpret_cast<Object*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}
// The object a window procedure's message is for; null when the message is the system's alone
// (among them the first, which hands the window its object to keep).
template <typename Object>
Object* Receiver(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return nullptr;
  }
  return Owner<Object>(hwnd);
}

// Registers a window class once; fails when the system refuses it.
void RegisterOnce(const wchar_t* name, WNDPROC procedure);

}  // namespace platform
