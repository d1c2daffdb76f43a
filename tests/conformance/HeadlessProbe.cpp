// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance probe of the headless back end: its own clock and pointer.
#include "Probe.h"
#include "platform/Backend.h"
#include "platform/headless/Headless.h"

namespace probe {

const bool kExactClock = true;

void Events(std::chrono::milliseconds time) {
  platform::headless::Advance(time);
}

void Pointer(platform::Form& form, int x, int y, int held, int changed) {
  platform::headless::Pointer(form, x, y, held, changed);
}

platform::Rgb ColorAt(platform::Form& form, int x, int y) {
  return platform::headless::ColorAt(form, x, y);
}

void Click(platform::HScrollBar& bar, Part part, int thumbTo) {
  using Scroll = platform::HScrollBar::Scroll;
  constexpr Scroll kActions[] = {Scroll::LineLeft, Scroll::LineRight, Scroll::PageLeft,
                                 Scroll::PageRight, Scroll::ToPosition};
  platform::Backend::Scrolled(bar, kActions[static_cast<int>(part)], thumbTo);
}

Shown ShownBy(platform::HScrollBar& bar) {
  return {bar.Min(), bar.Max(), bar.Value()};  // no bar of its own: the model is what it shows
}

}  // namespace probe
