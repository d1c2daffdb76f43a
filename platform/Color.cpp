// SPDX-License-Identifier: GPL-3.0-or-later
#include "Color.h"

#include <array>

#include "OnError.h"

namespace platform {
namespace {

// Windows' default system colours (&HRRGGBB here, for reading), by index: scroll bar, desktop,
// active caption, inactive caption, menu, window, window frame, menu text, window text, caption
// text, active border, inactive border, application workspace, highlight, highlight text,
// button face, button shadow, grey text, button text, inactive caption text, button highlight,
// 3-D dark shadow, 3-D light, tooltip text, tooltip background, (unused), hot-tracked item,
// active caption gradient, inactive caption gradient, menu highlight, menu bar.
constexpr std::array<std::uint32_t, 31> kSystemColors{
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

constexpr std::uint32_t kSystemColor = 0x80000000U;

std::uint8_t Byte(std::uint32_t value, int shift) {
  return static_cast<std::uint8_t>((value >> shift) & 0xFFU);
}

}  // namespace

Rgb DecodeColor(std::uint32_t color) {
  if ((color & 0xFFFFFF00U) == kSystemColor && (color & 0xFFU) < kSystemColors.size()) {
    const std::uint32_t rgb = kSystemColors[color & 0xFFU];
    return {Byte(rgb, 16), Byte(rgb, 8), Byte(rgb, 0)};
  }
  if (color > 0xFFFFFFU) {
    Fail();
  }
  return {Byte(color, 0), Byte(color, 8), Byte(color, 16)};
}

}  // namespace platform
