// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance probe on Windows: mouse messages routed as the system routes them (to the
// window holding the capture, else to the topmost child under the pointer), the screen's pixels,
// and the scroll bar's own notifications.
#include <windowsx.h>

#include <algorithm>

#include "Probe.h"
#include "platform/win32/Win32Native.h"

namespace probe {

const bool kExactClock = false;

void Events(std::chrono::milliseconds time) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(time.count());
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

void Pointer(platform::Form& form, int x, int y, int held, int changed) {
  HWND window = platform::Backend::Of(form).hwnd;
  POINT at{x, y};
  HWND target = ::GetCapture();
  if (target == nullptr) {
    target = ::ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE);
  }
  if (target == nullptr || target == window) {
    return;
  }
  ::MapWindowPoints(window, target, &at, 1);
  const WPARAM keys = ((held & 1) != 0 ? MK_LBUTTON : 0) | ((held & 2) != 0 ? MK_RBUTTON : 0) |
                      ((held & 4) != 0 ? MK_MBUTTON : 0);
  const bool down = (held & changed) != 0;
  const UINT message = changed == 1   ? (down ? WM_LBUTTONDOWN : WM_LBUTTONUP)
                       : changed == 2 ? (down ? WM_RBUTTONDOWN : WM_RBUTTONUP)
                       : changed == 4 ? (down ? WM_MBUTTONDOWN : WM_MBUTTONUP)
                                      : WM_MOUSEMOVE;
  ::SendMessageW(target, message, keys, MAKELPARAM(at.x, at.y));
}

platform::Rgb ColorAt(platform::Form& form, int x, int y) {
  HWND window = platform::Backend::Of(form).hwnd;
  ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  POINT at{x, y};
  ::ClientToScreen(window, &at);
  HDC screen = ::GetDC(nullptr);
  const COLORREF color = ::GetPixel(screen, at.x, at.y);
  ::ReleaseDC(nullptr, screen);
  return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

void Click(platform::HScrollBar& bar, Part part, int thumbTo) {
  HWND hwnd = platform::Backend::Of(bar).hwnd;
  const Shown shown = ShownBy(bar);  // the system's thumb reports positions within its range
  thumbTo = std::clamp(thumbTo, shown.min, shown.max);
  constexpr WORD kCodes[] = {SB_LINELEFT, SB_LINERIGHT, SB_PAGELEFT, SB_PAGERIGHT,
                             SB_THUMBPOSITION};
  ::SendMessageW(::GetParent(hwnd), WM_HSCROLL,
                 MAKEWPARAM(kCodes[static_cast<int>(part)], static_cast<WORD>(thumbTo)),
                 reinterpret_cast<LPARAM>(hwnd));
}

Shown ShownBy(platform::HScrollBar& bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS;
  ::GetScrollInfo(platform::Backend::Of(bar).hwnd, SB_CTL, &info);
  return {info.nMin, info.nMax, info.nPos};
}

}  // namespace probe
