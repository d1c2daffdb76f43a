// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the checked arithmetic of the game's numeric types. Every helper raises Failure
// where the original runtime raised an overflow or an invalid-argument error.
#pragma once

#include <cstdint>

namespace platform {

// Rounds a double-precision result to single precision; fails when it leaves the single range
// or is not a number.
float Sng(double value);

// Converts to a signed 32-bit integer, rounding to nearest with ties to even; fails out of range.
std::int32_t CLng(double value);

// Converts to a signed 16-bit integer, rounding to nearest with ties to even; fails out of range.
std::int16_t CInt(double value);

// Integer division truncating toward zero (the `\` operator) of two 32-bit values.
std::int32_t IntDiv(std::int32_t dividend, std::int32_t divisor);

// 32-bit subtraction that fails on overflow.
std::int32_t Sub(std::int32_t minuend, std::int32_t subtrahend);

}  // namespace platform
