// SPDX-License-Identifier: GPL-3.0-or-later
// What each home supplies to the conformance suite: the user's hand on its native input, time
// passing on its event loop, and the picture its window shows.
#pragma once

#include <chrono>
#include <tuple>

#include "platform/Color.h"
#include "platform/Form.h"
#include "platform/ScrollBar.h"

namespace probe {

// True where time passes only when the probe moves it, so that a check may count exactly.
extern const bool kExactClock;

// Handles events while `time` passes on the home's clock.
void Events(std::chrono::milliseconds time);

// The pointer at a point of the shown window's client area (pixels), the way the home's window
// system delivers it. `held` is the set of buttons held after the event (1 left, 2 right,
// 4 middle); `changed` the one pressed or released, or 0 for a move.
void Pointer(platform::Form& form, int x, int y, int held, int changed = 0);

// The colour the shown window has at a point of its client area.
platform::Rgb ColorAt(platform::Form& form, int x, int y);

// A click on a part of the scroll bar, as the home's own scroll bar reports it.
// (The thumb goes only as far as the home's own bar lets it.)
enum class Part { LeftArrow, RightArrow, TroughLeft, TroughRight, Thumb };
void Click(platform::HScrollBar& bar, Part part, int thumbTo = 0);

// What the home's own scroll bar shows: its range (least, most) and where its thumb sits.
using Shown = std::tuple<int, int, int>;
Shown ShownBy(platform::HScrollBar& bar);

}  // namespace probe
