// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance probe in a page: pointer events dispatched the way the browser sends them (the
// captured element, else the element under the point; a second button as a chorded move), the
// colour of the element under a point, the speed bar's keys. A page cannot wait inside a test, so
// the probe keeps the page's timeouts on a clock of its own and runs them as it moves it on.
#include <emscripten.h>

#include "Probe.h"
#include "platform/web/WebNative.h"

namespace probe {
namespace {

// clang-format off
EM_JS(void, wb_probe_pointer, (const char* form, int x, int y, int held, int changed), {
  if (!Module.wbProbe) {
    // The browser keeps a captured pointer with its element until every button is up; a
    // dispatched event has no real pointer to capture, so the capture asked for is kept here.
    Module.wbProbe = {captured: null};
    const capture = Element.prototype.setPointerCapture;
    Element.prototype.setPointerCapture = function (id) {
      Module.wbProbe.captured = this;
      try { capture.call(this, id); } catch (e) {}
    };
  }
  const r = document.getElementById(UTF8ToString(form)).getBoundingClientRect();
  const scale = Module.wbScale || 1;
  const [cx, cy] = [r.left + x * scale, r.top + y * scale];
  const before = held ^ changed;
  const target = (before !== 0 && Module.wbProbe.captured) || document.elementFromPoint(cx, cy);
  const button = changed === 1 ? 0 : changed === 2 ? 2 : changed === 4 ? 1 : -1;
  const type = changed === 0 ? 'pointermove'
      : (held & changed) && before === 0 ? 'pointerdown'
      : !(held & changed) && held === 0 ? 'pointerup' : 'pointermove';
  if (held === 0) {
    Module.wbProbe.captured = null;
  }
  target.dispatchEvent(new PointerEvent(type, {bubbles: true, cancelable: true, pointerId: 1,
      pointerType: 'mouse', isPrimary: true, clientX: cx, clientY: cy, button, buttons: held}));
});

EM_JS(void, wb_probe_advance, (int ms), {
  if (!Module.wbClock) {
    const clock = Module.wbClock = {now: 0, next: 1, due: new Map()};
    window.setTimeout = (f, delay, ...args) => {
      clock.due.set(clock.next, {at: clock.now + (delay || 0), run: () => f(...args)});
      return clock.next++;
    };
    window.clearTimeout = (id) => clock.due.delete(id);
    const start = performance.now();
    performance.now = () => start + clock.now;  // the steady clock of the page's C++
  }
  const clock = Module.wbClock;
  for (const end = clock.now + ms;;) {
    const [id, first] = [...clock.due].reduce((a, b) => (!a || b[1].at < a[1].at ? b : a), null) || [];
    if (!first || first.at > end) {
      clock.now = end;
      return;
    }
    clock.due.delete(id);
    clock.now = first.at;
    first.run();
  }
});

EM_JS(int, wb_probe_color, (const char* form, int x, int y), {
  const r = document.getElementById(UTF8ToString(form)).getBoundingClientRect();
  const scale = Module.wbScale || 1;
  const e = document.elementFromPoint(r.left + x * scale, r.top + y * scale);
  return getComputedStyle(e).backgroundColor.match(/[0-9]+/g).slice(0, 3).reduce((rgb, c) => rgb * 256 + Number(c), 0);
});

EM_JS(void, wb_probe_key, (const char* bar, const char* key), {
  document.getElementById(UTF8ToString(bar)).dispatchEvent(
      new KeyboardEvent('keydown', {key: UTF8ToString(key), bubbles: true, cancelable: true}));
});
// clang-format on

std::string Id(const emscripten::val& element) {
  return element["id"].as<std::string>();
}

}  // namespace

const bool kExactClock = true;

void Events(std::chrono::milliseconds time) {
  wb_probe_advance(static_cast<int>(time.count()));
}

void Pointer(platform::Form& form, int x, int y, int held, int changed) {
  wb_probe_pointer(Id(platform::Backend::Of(form).element).c_str(), x, y, held, changed);
}

platform::Rgb ColorAt(platform::Form& form, int x, int y) {
  const int rgb = wb_probe_color(Id(platform::Backend::Of(form).element).c_str(), x, y);
  return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
          static_cast<std::uint8_t>(rgb)};
}

void Click(platform::HScrollBar& bar, Part part, int thumbTo) {
  const std::string id = Id(platform::Backend::Of(bar).element);
  constexpr const char* kKeys[] = {"ArrowLeft", "ArrowRight", "PageDown", "PageUp"};
  if (part == Part::Thumb) {
    platform::Backend::Of(bar).element.set("value", std::to_string(thumbTo));
    platform::Backend::Of(bar).element.call<bool>(
        "dispatchEvent", emscripten::val::global("Event").new_(std::string("input")));
  } else {
    wb_probe_key(id.c_str(), kKeys[static_cast<int>(part)]);
  }
}

Shown ShownBy(platform::HScrollBar& bar) {
  const emscripten::val& input = platform::Backend::Of(bar).element;
  const auto number = [&](const char* property) {
    return std::stoi(input[property].as<std::string>());
  };
  return {number("min"), number("max"), number("value")};
}

}  // namespace probe
