// SPDX-License-Identifier: GPL-3.0-or-later
#include "Colors.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include "platform/OnError.h"

namespace platform {

QColor ToQColor(std::uint32_t color) {
  constexpr std::uint32_t kSystemColor = 0x80000000U;
  if ((color & 0xFF000000U) == kSystemColor) {
    // The system colours the window design names: window text (8) and window background (5).
    const QPalette palette = QApplication::palette();
    switch (color & 0xFFU) {
      case 5:
        return palette.color(QPalette::Base);
      case 8:
        return palette.color(QPalette::WindowText);
      default:
        return palette.color(QPalette::Window);
    }
  }
  if (color > 0xFFFFFFU) {
    Fail();
  }
  return {static_cast<int>(color & 0xFFU), static_cast<int>((color >> 8) & 0xFFU),
          static_cast<int>((color >> 16) & 0xFFU)};
}

}  // namespace platform
