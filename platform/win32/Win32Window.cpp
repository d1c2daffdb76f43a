// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime on Windows, straight on the Win32 API:
// - Form: a registered top-level class with caption, system menu and close box, no sizing
//   border, no minimise or maximise box; its outer size comes from AdjustWindowRectEx before it
//   is shown, so the load handler places it by its outer size. It paints its own black.
// - PictureBox: child windows that fill themselves with their colour, clipped against their
//   siblings; a press captures the mouse until every button is up again.
// - HScrollBar: the system SCROLLBAR control; its arrows, trough and thumb are handled here.
// - Timer: SetTimer wake-ups on the user-interface thread, none while disabled.
// - Runtime: the message loop. The program declares no DPI awareness, so Windows scales the
//   window as a whole on high-DPI screens, as it did for the original game.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <string>

#include "platform/Form.h"
#include "platform/OnError.h"
#include "platform/PictureBox.h"
#include "platform/Runtime.h"
#include "platform/ScrollBar.h"
#include "platform/Timer.h"
#include "platform/Twips.h"

namespace platform {

struct Runtime::Impl {
  bool windowMade = false;
};

struct Form::Impl {
  HWND hwnd = nullptr;
  HBRUSH background = nullptr;
};

struct PictureBox::Impl {
  HWND hwnd = nullptr;
  HBRUSH brush = nullptr;
};

struct HScrollBar::Impl {
  HWND hwnd = nullptr;
  int smallChange = 1;
  int largeChange = 1;
};

struct Timer::Impl {
  UINT_PTR id = 0;
};

namespace {

constexpr wchar_t kFormClass[] = L"WirbelboxForm";
constexpr wchar_t kBoxClass[] = L"WirbelboxBox";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

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

// &HBBGGRR is a COLORREF already; a high byte of &H80 names a system colour.
HBRUSH Brush(std::uint32_t color) {
  if ((color & 0xFF000000U) == 0x80000000U) {
    return ::CreateSolidBrush(::GetSysColor(static_cast<int>(color & 0xFFU)));
  }
  if (color > 0xFFFFFFU) {
    Fail();
  }
  return ::CreateSolidBrush(color);
}

void Replace(HBRUSH& brush, HBRUSH replacement) {
  if (brush != nullptr) {
    ::DeleteObject(brush);
  }
  brush = replacement;
}

template <typename Object>
Object* Owner(HWND hwnd) {
  return reinterpret_cast<Object*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Keeps the object a window was created for with the window.
template <typename Object>
bool Adopt(HWND hwnd, UINT message, LPARAM lParam) {
  if (message != WM_NCCREATE) {
    return false;
  }
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return true;
}

// The arrows and the trough step by the bar's steps; the thumb sets the value it is dragged to.
void Scroll(HScrollBar& bar, WPARAM request) {
  HWND hwnd = bar.Native().hwnd;
  int low = 0;
  int high = 0;
  ::GetScrollRange(hwnd, SB_CTL, &low, &high);
  SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(hwnd, SB_CTL, &info);
  int value = bar.Value();
  switch (LOWORD(request)) {
    case SB_LINELEFT:
      value -= bar.Native().smallChange;
      break;
    case SB_LINERIGHT:
      value += bar.Native().smallChange;
      break;
    case SB_PAGELEFT:
      value -= bar.Native().largeChange;
      break;
    case SB_PAGERIGHT:
      value += bar.Native().largeChange;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      value = info.nTrackPos;
      break;
    case SB_LEFT:
      value = low;
      break;
    case SB_RIGHT:
      value = high;
      break;
    default:
      return;
  }
  ::SetScrollPos(hwnd, SB_CTL, std::clamp(value, low, high), TRUE);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Adopt<Form>(hwnd, message, lParam)) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  Form* form = Owner<Form>(hwnd);
  if (form == nullptr) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_CLOSE:
      if (form->RaiseUnload()) {
        ::DestroyWindow(hwnd);
      }
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);  // the only window: the program ends with it
      return 0;
    case WM_NCDESTROY:
      form->Native().hwnd = nullptr;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(hwnd, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, form->Native().background);
      return 1;
    }
    case WM_HSCROLL:
      if (auto* bar = Owner<HScrollBar>(reinterpret_cast<HWND>(lParam))) {
        Scroll(*bar, wParam);
      }
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

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
  if (Adopt<PictureBox>(hwnd, message, lParam)) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  PictureBox* box = Owner<PictureBox>(hwnd);
  if (box == nullptr) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // Coordinates are signed: with the mouse captured they run outside the box.
  const float x = static_cast<float>(GET_X_LPARAM(lParam)) * kTwipsPerPixel;
  const float y = static_cast<float>(GET_Y_LPARAM(lParam)) * kTwipsPerPixel;
  const auto press = [&](std::int16_t button) {
    ::SetCapture(hwnd);
    box->Raise(PictureBox::Mouse::Down, button, Shift(wParam), x, y);
    return 0;
  };
  const auto release = [&](std::int16_t button) {
    box->Raise(PictureBox::Mouse::Up, button, Shift(wParam), x, y);
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
      box->Raise(PictureBox::Mouse::Move, HeldButtons(wParam), Shift(wParam), x, y);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT: no flicker
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd, &paint);
      ::FillRect(dc, &paint.rcPaint, box->Native().brush);
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

void RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = FormProc;
    form.hInstance = Instance();
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.lpszClassName = kFormClass;
    WNDCLASSEXW box = form;
    box.lpfnWndProc = BoxProc;
    box.lpszClassName = kBoxClass;
    return ::RegisterClassExW(&form) != 0 && ::RegisterClassExW(&box) != 0;
  }();
  if (!registered) {
    Fail();
  }
}

std::map<UINT_PTR, Timer*>& Timers() {
  static std::map<UINT_PTR, Timer*> timers;
  return timers;
}

void CALLBACK TimerDue(HWND /*hwnd*/, UINT /*message*/, UINT_PTR id, DWORD /*time*/) {
  const auto found = Timers().find(id);
  ::KillTimer(nullptr, id);
  if (found == Timers().end()) {
    return;
  }
  Timer* timer = found->second;
  Timers().erase(found);
  timer->Native().id = 0;
  timer->Fire();
}

}  // namespace

Form::Form(std::string_view name, int clientWidthPixels, int clientHeightPixels)
    : impl_(std::make_unique<Impl>()) {
  RegisterClasses();
  RECT outer{0, 0, clientWidthPixels, clientHeightPixels};
  ::AdjustWindowRectEx(&outer, kFormStyle, FALSE, 0);
  impl_->background = ::CreateSolidBrush(0);
  impl_->hwnd = ::CreateWindowExW(0, kFormClass, Wide(name).c_str(), kFormStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                  nullptr, nullptr, Instance(), this);
  if (impl_->hwnd == nullptr) {
    Fail();
  }
  Runtime::Current().Native().windowMade = true;
}

Form::~Form() {
  if (impl_->hwnd != nullptr) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(impl_->hwnd);
  }
  Replace(impl_->background, nullptr);
}

namespace {
RECT Outer(HWND hwnd) {
  RECT rect{};
  if (!::GetWindowRect(hwnd, &rect)) {
    Fail();
  }
  return rect;
}
}  // namespace

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

void Form::BackColor(std::uint32_t color) {
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

PictureBox::PictureBox(Form& parent, std::string_view name) : impl_(std::make_unique<Impl>()) {
  impl_->brush = ::CreateSolidBrush(0);
  impl_->hwnd =
      ::CreateWindowExW(0, kBoxClass, Wide(name).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                        0, 0, 0, 0, parent.Native().hwnd, nullptr, Instance(), this);
  if (impl_->hwnd == nullptr) {
    Fail();
  }
}

PictureBox::~PictureBox() {
  if (::IsWindow(impl_->hwnd)) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
  }
  Replace(impl_->brush, nullptr);
}

void PictureBox::Place() {
  ::MoveWindow(impl_->hwnd, PlacePixel(left_), PlacePixel(top_), std::max(0, PlacePixel(width_)),
               std::max(0, PlacePixel(height_)), TRUE);
}

void PictureBox::Paint(std::uint32_t color) {
  Replace(impl_->brush, Brush(color));
  ::InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

void PictureBox::BringToFront() {
  ::SetWindowPos(impl_->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HScrollBar::HScrollBar(Form& parent, std::string_view /*name*/) : impl_(std::make_unique<Impl>()) {
  impl_->hwnd = ::CreateWindowExW(0, L"SCROLLBAR", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | SBS_HORZ,
                                  0, 0, 0, 0, parent.Native().hwnd, nullptr, Instance(), nullptr);
  if (impl_->hwnd == nullptr) {
    Fail();
  }
  ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HScrollBar::~HScrollBar() {
  if (::IsWindow(impl_->hwnd)) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
  }
}

void HScrollBar::Move(int left, int top, int width, int height) {
  ::MoveWindow(impl_->hwnd, left, top, width, height, TRUE);
}

void HScrollBar::Range(std::int16_t min, std::int16_t max) {
  ::SetScrollRange(impl_->hwnd, SB_CTL, min, max, TRUE);
}

void HScrollBar::Steps(std::int16_t smallChange, std::int16_t largeChange) {
  impl_->smallChange = smallChange;
  impl_->largeChange = largeChange;
}

std::int16_t HScrollBar::Value() const {
  return static_cast<std::int16_t>(::GetScrollPos(impl_->hwnd, SB_CTL));
}

void HScrollBar::Value(std::int16_t value) {
  int low = 0;
  int high = 0;
  ::GetScrollRange(impl_->hwnd, SB_CTL, &low, &high);
  if (value < low || value > high) {
    Fail();
  }
  ::SetScrollPos(impl_->hwnd, SB_CTL, value, TRUE);
}

void HScrollBar::BringToFront() {
  ::SetWindowPos(impl_->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Timer::Timer() : impl_(std::make_unique<Impl>()) {}

Timer::~Timer() {
  Stop();
}

bool Timer::Pending() const {
  return impl_->id != 0;
}

void Timer::Wake(std::chrono::milliseconds after) {
  Stop();
  impl_->id = ::SetTimer(nullptr, 0, static_cast<UINT>(after.count()), TimerDue);
  if (impl_->id != 0) {
    Timers()[impl_->id] = this;
  }
}

void Timer::Stop() {
  if (impl_->id != 0) {
    ::KillTimer(nullptr, impl_->id);
    Timers().erase(impl_->id);
    impl_->id = 0;
  }
}

Runtime::Runtime(int& argc, char** argv)
    : argc_(argc), argv_(argv), impl_(std::make_unique<Impl>()) {
  Enter();
}

Runtime::~Runtime() {
  Leave();
  impl_.reset();
}

int Runtime::Run() {
  if (!impl_->windowMade) {
    return 0;
  }
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace platform
