// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime on Windows: the thread's message loop, and what the back end's files share.
#include "Win32Native.h"
#include "platform/OnError.h"

namespace platform {

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
