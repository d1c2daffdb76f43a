// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaveDecoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>

namespace platform {
namespace {

struct Format {
  std::uint32_t rate = 0;
  std::size_t channels = 0;
  std::size_t bits = 0;
};

std::uint32_t Le(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = width; i-- > 0;) {
    value = value << 8 | bytes[at + i];
  }
  return value;
}

bool Is(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view id) {
  return std::equal(id.begin(), id.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// The samples of one channel-mixed frame, scaled to 16 bits.
double Frame(std::span<const std::uint8_t> data, std::size_t frame, const Format& format) {
  const std::size_t width = format.bits / 8;
  double sum = 0;
  for (std::size_t c = 0; c < format.channels; ++c) {
    const std::size_t at = (frame * format.channels + c) * width;
    sum += width == 1 ? (data[at] - 128) * 256.0
                      : static_cast<double>(static_cast<std::int16_t>(Le(data, at, 2)));
  }
  return sum / static_cast<double>(format.channels);
}

// sinc(x) under a Lanczos window of kTaps lobes, tabulated at kSteps points per unit of x.
constexpr std::size_t kTaps = 8;
constexpr std::size_t kSteps = 256;
const std::array<double, kTaps * kSteps + 2>& Kernel() {
  static const auto table = [] {
    std::array<double, kTaps * kSteps + 2> t{};
    t[0] = 1;
    for (std::size_t i = 1; i < t.size(); ++i) {
      const double x = std::numbers::pi * static_cast<double>(i) / kSteps;
      t[i] = i > kTaps * kSteps ? 0 : std::sin(x) / x * std::sin(x / kTaps) / (x / kTaps);
    }
    return t;
  }();
  return table;
}

double KernelAt(double x) {
  const double at = std::abs(x) * kSteps;
  const auto i = static_cast<std::size_t>(at);
  if (i >= kTaps * kSteps) {
    return 0;
  }
  const double f = at - static_cast<double>(i);
  return Kernel()[i] * (1 - f) + Kernel()[i + 1] * f;
}

std::vector<std::int16_t> Resample(std::span<const std::uint8_t> data, const Format& format,
                                   int rate) {
  const std::size_t frames = data.size() / (format.bits / 8 * format.channels);
  const double ratio = static_cast<double>(rate) / format.rate;
  const double cutoff = std::min(1.0, ratio);  // below both rates' Nyquist frequencies
  const double reach = kTaps / cutoff;
  const auto count = static_cast<std::size_t>(static_cast<double>(frames) * ratio);
  std::vector<std::int16_t> out(count);
  for (std::size_t n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / ratio;
    double sum = 0;
    if (std::cmp_equal(format.rate, rate)) {
      sum = Frame(data, n, format);
    } else {
      const auto first = static_cast<std::ptrdiff_t>(std::max(0.0, std::ceil(t - reach)));
      const auto last = static_cast<std::ptrdiff_t>(
          std::min(static_cast<double>(frames) - 1, std::floor(t + reach)));
      for (std::ptrdiff_t k = first; k <= last; ++k) {
        sum += Frame(data, static_cast<std::size_t>(k), format) *
               KernelAt((t - static_cast<double>(k)) * cutoff) * cutoff;
      }
    }
    out[n] = static_cast<std::int16_t>(std::clamp(std::lround(sum), -32768L, 32767L));
  }
  return out;
}

}  // namespace

std::optional<std::vector<std::int16_t>> DecodeWave(std::span<const std::uint8_t> image, int rate) {
  if (image.size() < 12 || !Is(image, 0, "RIFF") || !Is(image, 8, "WAVE") || rate <= 0) {
    return std::nullopt;
  }
  std::optional<Format> format;
  for (std::size_t at = 12; at + 8 <= image.size();) {
    const std::size_t size = Le(image, at + 4, 4);
    const std::size_t body = at + 8;
    if (size > image.size() - body) {
      return std::nullopt;  // a chunk cut short: the image is damaged
    }
    if (Is(image, at, "fmt ") && size >= 16) {
      const Format f{Le(image, body + 4, 4), Le(image, body + 2, 2), Le(image, body + 14, 2)};
      const bool pcm = Le(image, body, 2) == 1 && (f.bits == 8 || f.bits == 16) &&
                       f.channels >= 1 && f.channels <= 2 && f.rate >= 1000 && f.rate <= 192000 &&
                       Le(image, body + 12, 2) == f.bits / 8 * f.channels;
      if (!pcm) {
        return std::nullopt;
      }
      format = f;
    } else if (Is(image, at, "data")) {
      if (!format || size == 0 || size % (format->bits / 8 * format->channels) != 0) {
        return std::nullopt;
      }
      return Resample(image.subspan(body, size), *format, rate);
    }
    at = body + size + size % 2;  // chunks are padded to an even length
  }
  return std::nullopt;
}

}  // namespace platform
