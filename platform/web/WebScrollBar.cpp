// SPDX-License-Identifier: GPL-3.0-or-later
// The speed bar in a page: an <input type="range"> showing the bar's range, small step and value;
// what the user does with it comes back as the bar's actions.
#include <emscripten.h>

#include <map>

#include "WebNative.h"

namespace platform {
namespace {

std::map<int, HScrollBar*>& Bars() {
  static std::map<int, HScrollBar*> bars;
  return bars;
}

// The bar's keys step and page by the bar's own steps (a range input knows no large step); a
// drag or a click moves the thumb to a position.
// clang-format off
EM_JS(void, wb_listen_bar, (int id, const char* name), {
  const bar = document.getElementById(UTF8ToString(name));
  const actions = {ArrowLeft: 0, ArrowDown: 0, ArrowRight: 1, ArrowUp: 1, PageDown: 2, PageUp: 3};
  bar.addEventListener('keydown', (e) => {
    if (e.key in actions) {
      e.preventDefault();
      Module.wbRun(() => Module._wb_scrolled(id, actions[e.key], 0));
    }
  });
  bar.addEventListener('input', () => Module.wbRun(() => Module._wb_scrolled(id, 4, Number(bar.value))));
});
// clang-format on

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void wb_scrolled(int id, int action, int position) {
  const auto found = Bars().find(id);
  if (found != Bars().end()) {
    Backend::Scrolled(*found->second, static_cast<HScrollBar::Scroll>(action), position);
  }
}

HScrollBar::HScrollBar(Form& parent, std::string_view name) : impl_(std::make_unique<Impl>()) {
  static int nextId = 0;
  const int id = ++nextId;
  impl_->element = Make("input", Backend::Of(parent).element, std::string(name));
  impl_->element.set("type", std::string("range"));
  Style(impl_->element, "position", "absolute");
  Style(impl_->element, "margin", "0");
  Bars()[id] = this;
  wb_listen_bar(id, std::string(name).c_str());
  Show();
}

HScrollBar::~HScrollBar() {
  std::erase_if(Bars(), [this](const auto& bar) { return bar.second == this; });
}

void HScrollBar::Move(int left, int top, int width, int height) {
  Style(impl_->element, "left", Px(left));
  Style(impl_->element, "top", Px(top));
  Style(impl_->element, "width", Px(width));
  Style(impl_->element, "height", Px(height));
}

void HScrollBar::Show() {
  impl_->element.set("min", std::to_string(min_));
  impl_->element.set("max", std::to_string(max_));
  impl_->element.set("step", std::to_string(smallChange_));
  impl_->element.set("value", std::to_string(value_));
}

void HScrollBar::BringToFront() {
  BringElementToFront(impl_->element);
}

}  // namespace platform
