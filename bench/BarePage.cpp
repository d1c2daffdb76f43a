// SPDX-License-Identifier: GPL-3.0-or-later
// The web page's reference, built by the same emscripten: one black 425 x 432 <div> centred in the
// page and nothing else. With "?move" in its address it also moves four <div>s 64 times a second,
// as the game's tick does while the block is held.
#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/val.h>

#include <array>
#include <string>

using emscripten::val;

namespace {

std::array<val, 4> boxes{val::undefined(), val::undefined(), val::undefined(), val::undefined()};
int step = 0;

val Div(const val& parent, const std::string& style) {
  val div = val::global("document").call<val>("createElement", std::string("div"));
  div.set("style", style);
  parent.call<void>("appendChild", div);
  return div;
}

void Tick(void* /*unused*/) {
  step = (step + 1) % 300;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    boxes[i]["style"].set("left", std::to_string(step + 10 * static_cast<int>(i)) + "px");
    boxes[i]["style"].set("top", std::to_string(step) + "px");
  }
}

}  // namespace

int main() {
  const val body = val::global("document")["body"];
  val form = Div(body, "position:relative;width:425px;height:432px;background:#000");
  form.set("id", std::string("frmGame"));
  if (val::global("location")["search"].as<std::string>().find("move") != std::string::npos) {
    for (val& box : boxes) {
      box = Div(form, "position:absolute;width:40px;height:40px;background:#000080");
    }
    emscripten_set_interval(Tick, 1000.0 / 64, nullptr);
  }
  emscripten_exit_with_live_runtime();
}
