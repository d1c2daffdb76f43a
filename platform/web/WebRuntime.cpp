// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime in a page: the browser's event loop, which goes on after main() returns, and what
// the back end's files share. One event at a time: every event goes through Module.wbRun
// (events.js), which holds events back while a synchronous sound plays (see WebSound.cpp).
#include <emscripten.h>

#include "WebNative.h"

using emscripten::val;

namespace platform {

int Runtime::Loop() {
  // The page goes on handling events after main() returns; the runtime and the window stay.
  emscripten_exit_with_live_runtime();
  return 0;
}

// The browser paints once the handler has returned: a synchronous sound never blocks the page.
void PaintWindows() {}

val Document() {
  return val::global("document");
}

std::string Px(int pixels) {
  return std::to_string(pixels) + "px";
}

std::string Css(Rgb color) {
  return "rgb(" + std::to_string(color.red) + "," + std::to_string(color.green) + "," +
         std::to_string(color.blue) + ")";
}

std::string Fill(Rgb color) {
  const std::string css = Css(color);
  return css +
         " url(\"data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 1 1' "
         "preserveAspectRatio='none'%3E%3Crect width='1' height='1' fill='" +
         css + "'/%3E%3C/svg%3E\") 0 0 / 100% 100%";
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

void BringElementToFront(const val& element) {
  static int stacking = 0;  // z-index of the control brought to the front last
  Style(element, "zIndex", std::to_string(++stacking));
}

}  // namespace platform
