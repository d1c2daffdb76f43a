// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numeric.h"

#include <cmath>
#include <limits>

#include "OnError.h"

namespace platform {
namespace {

// Round half to even, independent of the current floating-point rounding mode.
double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) {
    return floor + 1.0;
  }
  if (fraction < 0.5) {
    return floor;
  }
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

template <typename Int>
Int ToInteger(double value) {
  if (!std::isfinite(value)) {
    Fail();
  }
  const double rounded = RoundHalfEven(value);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    Fail();
  }
  return static_cast<Int>(rounded);
}

}  // namespace

float Sng(double value) {
  // Magnitudes from here on round to infinity in single precision.
  constexpr double kFirstOverflow = 0x1.ffffffp127;
  if (!(std::fabs(value) < kFirstOverflow)) {
    Fail();
  }
  return static_cast<float>(value);
}

std::int32_t CLng(double value) {
  return ToInteger<std::int32_t>(value);
}

std::int16_t CInt(double value) {
  return ToInteger<std::int16_t>(value);
}

std::int32_t IntDiv(std::int32_t dividend, std::int32_t divisor) {
  if (divisor == 0 || (dividend == std::numeric_limits<std::int32_t>::min() && divisor == -1)) {
    Fail();
  }
  return dividend / divisor;
}

std::int32_t Sub(std::int32_t minuend, std::int32_t subtrahend) {
  std::int32_t difference = 0;
  if (__builtin_sub_overflow(minuend, subtrahend, &difference)) {
    Fail();
  }
  return difference;
}

}  // namespace platform
