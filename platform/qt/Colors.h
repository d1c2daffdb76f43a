// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: colour values of the form &HBBGGRR.
#pragma once

#include <cstdint>

class QColor;

namespace platform {

// Turns &HBBGGRR (or a system colour, high byte &H80) into a colour; raises Failure for any
// other value.
QColor ToQColor(std::uint32_t color);

}  // namespace platform
