// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the headless back end's controls for tests: time that moves only when told, a
// pointer, and the picture the window would show.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/Color.h"
#include "platform/Form.h"

namespace platform::headless {

// Moves the clock on, firing every timer wake-up that falls due, in order.
void Advance(std::chrono::milliseconds time);

// The pointer at a point of the window's client area (pixels), with the mouse buttons held
// (1 left, 2 right, 4 middle) after the event; `changed` is the button pressed or released, 0 for
// a move. A press captures the box under the pointer until every button is up.
void Pointer(Form& form, int x, int y, int held, int changed = 0);

// The colour the window shows at a point of its client area: the topmost control there, or the
// window's own colour.
Rgb ColorAt(const Form& form, int x, int y);

}  // namespace platform::headless
