// SPDX-License-Identifier: GPL-3.0-or-later
// Picture boxes in a page: absolutely placed <div>s stacked by z-index in creation and
// BringToFront order. Pointer events with pointer capture on a press, so a drag goes on outside
// the box and the page until the release; a touch counts as the left button. A position is
// measured against the box when the game handles the event, not when it arrives, since events
// wait behind a sound (see WebSound.cpp) while the box may move.
#include <emscripten.h>

#include <algorithm>
#include <map>

#include "WebNative.h"
#include "platform/Twips.h"

namespace platform {
namespace {

std::map<int, PictureBox*>& Boxes() {
  static std::map<int, PictureBox*> boxes;
  return boxes;
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

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void wb_mouse(int id, int kind, int button, int shift, double x,
                                              double y) {
  const auto found = Boxes().find(id);
  if (found != Boxes().end()) {
    Backend::Mouse(*found->second, static_cast<PictureBox::Mouse>(kind),
                   static_cast<std::int16_t>(button), static_cast<std::int16_t>(shift),
                   static_cast<float>(x), static_cast<float>(y));
  }
}

PictureBox::PictureBox(Form& parent, std::string_view name) : impl_(std::make_unique<Impl>()) {
  static int nextId = 0;
  impl_->id = ++nextId;
  impl_->element = Make("div", Backend::Of(parent).element, "wb-box-" + std::to_string(impl_->id));
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

void PictureBox::Paint(Rgb color) {
  Style(impl_->element, "background", Fill(color));
}

void PictureBox::BringToFront() {
  BringElementToFront(impl_->element);
}

}  // namespace platform
