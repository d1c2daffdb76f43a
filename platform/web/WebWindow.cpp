// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime in a web page (emscripten), on the DOM through embind:
// - Form: a fixed 425 x 432 block of the page, black, centred in the viewport and scaled as a
//   whole to fit it (never above its natural size). The page draws no frame, but the outer size
//   it reports is that of the same window on Windows at 100 % (see kWindowsFrame), so that the
//   enemies turn where they do there; its title is the page's, its icon the favicon, and the
//   page, not the game, decides where the block sits.
// - PictureBox: absolutely placed <div>s stacked by z-index in creation and BringToFront order.
//   Pointer events with pointer capture on a press, so a drag goes on outside the box and the
//   page until the release; a touch counts as the left button. A position is measured against
//   the box when the game handles the event, not when it arrives, since events wait behind a
//   sound while the box may move.
// - HScrollBar: an <input type="range">, whose keys and clicks step by 1.
// - Timer: the browser's setTimeout on the same 1/64 s grid, not the display's frame rate; a
//   timer that falls due while the tab is hidden waits until it is shown again.
// - One event at a time: while a synchronous sound plays, events wait in order (see WebApp.cpp).
#include <emscripten.h>
#include <emscripten/val.h>

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

using emscripten::val;

namespace platform {

struct Runtime::Impl {
  bool windowMade = false;
};

struct Form::Impl {
  val element = val::undefined();
  int width = 0;
  int height = 0;
  float left = 0;
  float top = 0;
};

struct PictureBox::Impl {
  val element = val::undefined();
  int id = 0;
};

struct HScrollBar::Impl {
  val element = val::undefined();
};

struct Timer::Impl {
  int id = 0;
  int handle = 0;
};

namespace {

// The frame that AdjustWindowRectEx adds on Windows 10 and 11 at 100 % for the game window's
// styles (caption and system menu, fixed frame): a 23-pixel caption and a 3-pixel frame.
struct {
  int left = 3;
  int top = 3 + 23;
  int right = 3;
  int bottom = 3;
} constexpr kWindowsFrame;

val Document() {
  return val::global("document");
}

std::string Px(int pixels) {
  return std::to_string(pixels) + "px";
}

// &HBBGGRR, or a system colour (high byte &H80): window text black, everything else white.
std::string Css(std::uint32_t color) {
  if ((color & 0xFF000000U) == 0x80000000U) {
    return (color & 0xFFU) == 8 ? "rgb(0,0,0)" : "rgb(255,255,255)";
  }
  if (color > 0xFFFFFFU) {
    Fail();
  }
  return "rgb(" + std::to_string(color & 0xFFU) + "," + std::to_string((color >> 8) & 0xFFU) + "," +
         std::to_string((color >> 16) & 0xFFU) + ")";
}

val Make(const char* tag, const val& parent, const std::string& id) {
  val element = Document().call<val>("createElement", std::string(tag));
  element.set("id", id);
  parent.call<void>("appendChild", element);
  return element;
}

void Style(const val& element, const char* property, const std::string& value) {
  element["style"].set(property, value);
}

int stacking = 0;  // z-index of the control brought to the front last

std::map<int, PictureBox*>& Boxes() {
  static std::map<int, PictureBox*> boxes;
  return boxes;
}

std::map<int, Timer*>& Timers() {
  static std::map<int, Timer*> timers;
  return timers;
}

// Pointer events of box `id`, with their button as a mask (left 1, right 2, middle 4) and their
// position in pixels of the box's interior. A second button pressed or released during a drag
// comes as a move with a button of its own.
// clang-format off
EM_JS(void, wb_listen_box, (int id), {
  const box = document.getElementById('wb-box-' + id);
  const bit = (button) => button === 0 ? 1 : button === 2 ? 2 : button === 1 ? 4 : 0;
  const send = (kind, button, e) => {
    const shift = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
    const [cx, cy] = [e.clientX, e.clientY];
    Module.wbRun(() => {
      const r = box.getBoundingClientRect();
      const scale = Module.wbScale || 1;
      Module._wb_mouse(id, kind, button, shift, (cx - r.left) / scale, (cy - r.top) / scale);
    });
  };
  const touch = (e) => e.pointerType === 'touch';
  box.addEventListener(
      'pointerdown', (e) => {
        box.setPointerCapture(e.pointerId);
        Module.wbStartAudio();  // a press is the gesture that lets the page play sound
        send(0, touch(e) ? 1 : bit(e.button), e);
        e.preventDefault();
      });
  box.addEventListener(
      'pointermove', (e) => {
        if (e.button >= 0 && !touch(e)) {
          send((e.buttons & bit(e.button)) ? 0 : 2, bit(e.button), e);
        } else {
          send(1, touch(e) ? 1 : (e.buttons & 7), e);
        }
      });
  box.addEventListener(
      'pointerup', (e) => {
        Module.wbStartAudio();  // the end of a touch is the gesture a touch screen gives
        send(2, touch(e) ? 1 : bit(e.button), e);
      });
  box.addEventListener('pointercancel', (e) => send(2, 1, e));
  box.addEventListener('contextmenu', (e) => e.preventDefault());
});
// clang-format on

// clang-format off
EM_JS(int, wb_set_timer, (int id, int ms), {
  return setTimeout(
      function fire() {
        if (document.hidden) {
          document.addEventListener('visibilitychange', fire, {once: true});
          return;
        }
        Module.wbRun(() => Module._wb_timer(id));
      },
      ms);
});
// clang-format on

EM_JS(void, wb_clear_timer, (int handle), { clearTimeout(handle); });

EM_JS(void, wb_fit_form, (), { Module.wbFit(); });

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void wb_mouse(int id, int kind, int button, int shift, double x, double y) {
  const auto found = Boxes().find(id);
  if (found != Boxes().end()) {
    found->second->Raise(static_cast<PictureBox::Mouse>(kind), static_cast<std::int16_t>(button),
                         static_cast<std::int16_t>(shift), static_cast<float>(x) * kTwipsPerPixel,
                         static_cast<float>(y) * kTwipsPerPixel);
  }
}

EMSCRIPTEN_KEEPALIVE void wb_timer(int id) {
  const auto found = Timers().find(id);
  if (found != Timers().end()) {
    found->second->Native().handle = 0;
    found->second->Fire();
  }
}

}  // extern "C"

Form::Form(std::string_view name, int clientWidthPixels, int clientHeightPixels)
    : impl_(std::make_unique<Impl>()) {
  impl_->element = Make("div", Document()["body"], std::string(name));
  impl_->width = clientWidthPixels;
  impl_->height = clientHeightPixels;
  Style(impl_->element, "position", "absolute");
  Style(impl_->element, "transformOrigin", "0 0");
  Style(impl_->element, "width", Px(clientWidthPixels));
  Style(impl_->element, "height", Px(clientHeightPixels));
  Style(impl_->element, "overflow", "hidden");
  Style(impl_->element, "visibility", "hidden");
  Runtime::Current().Native().windowMade = true;
  wb_fit_form();
}

Form::~Form() {
  impl_->element.call<void>("remove");
}

float Form::Left() const {
  return impl_->left;
}

void Form::Left(float twips) {
  impl_->left = twips;
}

float Form::Top() const {
  return impl_->top;
}

void Form::Top(float twips) {
  impl_->top = twips;
}

float Form::Width() const {
  return PixelsToTwips(kWindowsFrame.left + impl_->width + kWindowsFrame.right);
}

float Form::Height() const {
  return PixelsToTwips(kWindowsFrame.top + impl_->height + kWindowsFrame.bottom);
}

void Form::Caption(std::string_view text) {
  Document().set("title", std::string(text));
}

void Form::BackColor(std::uint32_t color) {
  Style(impl_->element, "background", Css(color));
}

void Form::Display() {
  Style(impl_->element, "visibility", "visible");
}

PictureBox::PictureBox(Form& parent, std::string_view name) : impl_(std::make_unique<Impl>()) {
  static int nextId = 0;
  impl_->id = ++nextId;
  impl_->element = Make("div", parent.Native().element, "wb-box-" + std::to_string(impl_->id));
  impl_->element.set("title", std::string());
  impl_->element.call<void>("setAttribute", std::string("data-name"), std::string(name));
  Style(impl_->element, "position", "absolute");
  Style(impl_->element, "touchAction", "none");
  Boxes()[impl_->id] = this;
  wb_listen_box(impl_->id);
}

PictureBox::~PictureBox() {
  Boxes().erase(impl_->id);
}

void PictureBox::Place() {
  Style(impl_->element, "left", Px(PlacePixel(left_)));
  Style(impl_->element, "top", Px(PlacePixel(top_)));
  Style(impl_->element, "width", Px(std::max(0, PlacePixel(width_))));
  Style(impl_->element, "height", Px(std::max(0, PlacePixel(height_))));
}

void PictureBox::Paint(std::uint32_t color) {
  Style(impl_->element, "background", Css(color));
}

void PictureBox::BringToFront() {
  Style(impl_->element, "zIndex", std::to_string(++stacking));
}

HScrollBar::HScrollBar(Form& parent, std::string_view name) : impl_(std::make_unique<Impl>()) {
  impl_->element = Make("input", parent.Native().element, std::string(name));
  impl_->element.set("type", std::string("range"));
  Style(impl_->element, "position", "absolute");
  Style(impl_->element, "margin", "0");
}

HScrollBar::~HScrollBar() = default;

void HScrollBar::Move(int left, int top, int width, int height) {
  Style(impl_->element, "left", Px(left));
  Style(impl_->element, "top", Px(top));
  Style(impl_->element, "width", Px(width));
  Style(impl_->element, "height", Px(height));
}

void HScrollBar::Range(std::int16_t min, std::int16_t max) {
  impl_->element.set("min", std::to_string(min));
  impl_->element.set("max", std::to_string(max));
}

void HScrollBar::Steps(std::int16_t smallChange, std::int16_t /*largeChange*/) {
  impl_->element.set("step", std::to_string(smallChange));
}

std::int16_t HScrollBar::Value() const {
  return static_cast<std::int16_t>(std::stoi(impl_->element["value"].as<std::string>()));
}

void HScrollBar::Value(std::int16_t value) {
  if (value < std::stoi(impl_->element["min"].as<std::string>()) ||
      value > std::stoi(impl_->element["max"].as<std::string>())) {
    Fail();
  }
  impl_->element.set("value", std::to_string(value));
}

void HScrollBar::BringToFront() {
  Style(impl_->element, "zIndex", std::to_string(++stacking));
}

Timer::Timer() : impl_(std::make_unique<Impl>()) {
  static int nextId = 0;
  impl_->id = ++nextId;
  Timers()[impl_->id] = this;
}

Timer::~Timer() {
  Stop();
  Timers().erase(impl_->id);
}

bool Timer::Pending() const {
  return impl_->handle != 0;
}

void Timer::Wake(std::chrono::milliseconds after) {
  Stop();
  impl_->handle = wb_set_timer(impl_->id, static_cast<int>(after.count()));
}

void Timer::Stop() {
  if (impl_->handle != 0) {
    wb_clear_timer(impl_->handle);
    impl_->handle = 0;
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
  if (impl_->windowMade) {
    // The page goes on handling events after main() returns; the runtime and the window stay.
    emscripten_exit_with_live_runtime();
  }
  return 0;
}

}  // namespace platform
