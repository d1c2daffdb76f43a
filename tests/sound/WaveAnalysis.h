// SPDX-License-Identifier: GPL-3.0-or-later
// Measurements of a sound's character: level, spectrum and period.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace wave {

inline std::int32_t Le32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                   static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

inline std::uint16_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline std::vector<double> Samples16(std::span<const std::uint8_t> bytes) {
  std::vector<double> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(Le16(bytes, 2 * i));
  }
  return samples;
}

inline double Rms(std::span<const double> samples) {
  double sum = 0;
  for (const double s : samples) {
    sum += s * s;
  }
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

// Power of one frequency (Goertzel), normalised by the length.
inline double PowerAt(std::span<const double> samples, double rate, double frequency) {
  const double w = 2 * std::numbers::pi * frequency / rate;
  const double coefficient = 2 * std::cos(w);
  double s1 = 0;
  double s2 = 0;
  for (const double x : samples) {
    const double s0 = x + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return power / static_cast<double>(samples.size() * samples.size());
}

// The frequency between `from` and `to` (in `step` Hz) with the most power.
inline double StrongestFrequency(std::span<const double> samples, double rate, double from,
                                 double to, double step) {
  double best = from;
  double bestPower = -1;
  for (double f = from; f <= to; f += step) {
    const double power = PowerAt(samples, rate, f);
    if (power > bestPower) {
      bestPower = power;
      best = f;
    }
  }
  return best;
}

// The lag between `from` and `to` samples at which the sound best matches itself.
inline std::size_t Period(std::span<const double> samples, std::size_t from, std::size_t to) {
  std::size_t best = from;
  double bestScore = -1e300;
  for (std::size_t lag = from; lag <= to; ++lag) {
    double score = 0;
    for (std::size_t i = 0; i + lag < samples.size(); ++i) {
      score += samples[i] * samples[i + lag];
    }
    score /= static_cast<double>(samples.size() - lag);
    if (score > bestScore) {
      bestScore = score;
      best = lag;
    }
  }
  return best;
}

}  // namespace wave
