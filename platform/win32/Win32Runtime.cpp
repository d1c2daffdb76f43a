// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime on Windows: the thread's message loop, and what the back end's files share.
#include <algorithm>

#include "Win32Native.h"
#include "platform/OnError.h"
#include "platform/Twips.h"

namespace platform {
namespace {

// A function of user32 that older Windows lack: null there.
template <typename Function>
Function User32(const char* name) {
  static HMODULE module = ::GetModuleHandleW(L"user32.dll");
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(module != nullptr ? ::GetProcAddress(module, name) : nullptr));
}

}  // namespace

int Runtime::Loop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// Paints without handling input: nothing else of the game runs meanwhile.
void PaintWindows() {
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM) -> BOOL {
        if (::IsWindowVisible(hwnd)) {
          ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        return TRUE;
      },
      0);
}

UINT Dpi(HWND hwnd) {
  using ForWindow = UINT(WINAPI*)(HWND);
  static const auto forWindow = User32<ForWindow>("GetDpiForWindow");
  if (hwnd != nullptr && forWindow != nullptr) {
    if (const UINT dpi = forWindow(hwnd); dpi != 0) {
      return dpi;
    }
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) {
    ::ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

double Scale(HWND hwnd) {
  return static_cast<double>(Dpi(hwnd)) / kDefaultDpi;
}

RECT OuterFor(DWORD style, int clientWidth, int clientHeight, UINT dpi) {
  RECT outer{0, 0, clientWidth, clientHeight};
  using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = User32<ForDpi>("AdjustWindowRectExForDpi");
  if (forDpi == nullptr || !forDpi(&outer, style, FALSE, 0, dpi)) {
    ::AdjustWindowRectEx(&outer, style, FALSE, 0);
  }
  return outer;
}

void PlaceScaled(HWND child, double left, double top, double width, double height) {
  const double scale = Scale(child);
  const int x = PlacePixel(left * scale);
  const int y = PlacePixel(top * scale);
  ::MoveWindow(child, x, y, std::max(0, PlacePixel((left + width) * scale) - x),
               std::max(0, PlacePixel((top + height) * scale) - y), TRUE);
}

HINSTANCE Instance() {
  return ::GetModuleHandleW(nullptr);
}

std::wstring Wide(std::string_view utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                            static_cast<int>(text.size()))));
  return text;
}

HBRUSH Brush(Rgb color) {
  return ::CreateSolidBrush(RGB(color.red, color.green, color.blue));
}

void Replace(HBRUSH& brush, HBRUSH replacement) {
  if (brush != nullptr) {
    ::DeleteObject(brush);
  }
  brush = replacement;
}

void RegisterOnce(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (::GetClassInfoExW(Instance(), name, &known)) {
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = Instance();
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name;
  if (::RegisterClassExW(&windowClass) == 0) {
    Fail();
  }
}

}  // namespace platform
