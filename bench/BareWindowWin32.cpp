// SPDX-License-Identifier: GPL-3.0-or-later
// The reference the Windows program is measured against: a bare Win32 window of the game's
// size and style that paints the same five coloured boxes on black.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    const struct {
      RECT rect;
      COLORREF colour;
    } boxes[] = {{{0, 0, 425, 432}, 0x000000},    {{32, 32, 393, 393}, 0xFFFFFF},
                 {{46, 38, 107, 99}, 0x800000},   {{257, 34, 314, 83}, 0x800000},
                 {{42, 298, 72, 359}, 0x800000},  {{281, 311, 382, 332}, 0x800000},
                 {{187, 181, 228, 222}, 0x000080}};
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    for (const auto& box : boxes) {
      HBRUSH brush = CreateSolidBrush(box.colour);
      FillRect(dc, &box.rect, brush);
      DeleteObject(brush);
    }
    EndPaint(hwnd, &paint);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main() {
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = Proc;
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"BareWindow";
  RegisterClassExW(&type);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT outer{0, 0, 425, 432};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  HWND hwnd = CreateWindowExW(0, L"BareWindow", L"Bare", style, 297, 98, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, type.hInstance, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    DispatchMessageW(&message);
  }
  return 0;
}
