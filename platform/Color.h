// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: colour values of the form &HBBGGRR.
#pragma once

#include <cstdint>

namespace platform {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// &HBBGGRR (low byte red), or a system colour: high byte &H80 and one of Windows' 31 colour
// indices in the low byte, in Windows' default scheme, so that every home shows the same colour.
// Any other value fails.
Rgb DecodeColor(std::uint32_t color);

}  // namespace platform
