// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the fixed scale between the game's twips and the screen's pixels.
#pragma once

#include <cmath>

namespace platform {

inline constexpr float kTwipsPerPixel = 15.0F;

inline float PixelsToTwips(int pixels) {
  return static_cast<float>(pixels) * kTwipsPerPixel;
}

// Windows sit on whole pixels: the nearest one, halves rounded up, kept within what a window
// system can place.
inline int PlacePixel(double pixels) {
  constexpr double kLimit = 1 << 20;
  const double placed = std::floor(pixels + 0.5);
  if (!(placed > -kLimit)) {
    return -static_cast<int>(kLimit);
  }
  return placed < kLimit ? static_cast<int>(placed) : static_cast<int>(kLimit);
}

// A window position in twips, moved onto the whole pixel the window system would put it on.
inline float OnWholePixels(float twips) {
  return PixelsToTwips(PlacePixel(twips / kTwipsPerPixel));
}

}  // namespace platform
