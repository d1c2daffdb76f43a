// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the game's two sounds, "ALARM" and "BUZZ", as RIFF/WAVE images. The samples are
// computed here, deterministically, so every build embeds the same bytes.
//
// Usage: wavegen ALARM|BUZZ OUTPUT
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

using Samples = std::vector<std::int16_t>;

// Both images carry a "PAD " chunk so that their samples begin at byte 4096.
constexpr std::uint32_t kSamplesOffset = 4096;
constexpr std::uint32_t kPadSize = kSamplesOffset - 44 - 8;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
  }
}

void PutId(std::vector<std::uint8_t>& out, const char (&id)[5]) {
  out.insert(out.end(), id, id + 4);
}

std::vector<std::uint8_t> WaveImage(std::uint32_t rate, const Samples& samples) {
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, kSamplesOffset + dataSize - 8);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, rate);
  Put32(out, rate * 2);  // bytes per second
  Put16(out, 2);         // bytes per frame
  Put16(out, 16);        // bits per sample
  PutId(out, "PAD ");
  Put32(out, kPadSize);
  out.resize(out.size() + kPadSize, 0);
  PutId(out, "data");
  Put32(out, dataSize);
  for (const std::int16_t sample : samples) {
    Put16(out, static_cast<std::uint16_t>(sample));
  }
  return out;
}

// A steady 880 Hz tone at full scale, 0.3 s at 8 kHz; its phase makes the first sample 13950.
Samples Alarm() {
  constexpr double kAmplitude = 32766;
  const double phase = std::asin(13950 / kAmplitude);
  Samples samples(2400);
  for (std::size_t n = 0; n < samples.size(); ++n) {
    const double t = static_cast<double>(n) / 8000;
    samples[n] = static_cast<std::int16_t>(
        std::lround(kAmplitude * std::sin(2 * std::numbers::pi * 880 * t + phase)));
  }
  return samples;
}

// A harsh buzz at 22.05 kHz: one 419-sample period (52.6 Hz) whose harmonics gather in three
// bands around 1, 2 and 3 kHz (2 kHz strongest), driven into clipping on both rails until its
// RMS is 15000.
Samples Buzz() {
  constexpr int kPeriod = 419;
  constexpr double kRate = 22050;
  constexpr double kFundamental = kRate / kPeriod;
  struct Band {
    double centre, width, weight;
  };
  constexpr Band kBands[] = {{1000, 120, 0.6}, {2000, 160, 1.0}, {3000, 140, 0.55}};

  std::vector<double> period(kPeriod, 0.0);
  for (int k = 1; k < kPeriod / 2; ++k) {
    const double frequency = k * kFundamental;
    double amplitude = 0;
    for (const Band& band : kBands) {
      const double d = (frequency - band.centre) / band.width;
      amplitude += band.weight * std::exp(-0.5 * d * d);
    }
    if (amplitude < 1e-3) {
      continue;
    }
    // Fixed, irregular phases: a spiky, rasping waveform rather than a smooth chord.
    const double phase = std::numbers::pi * std::fmod(k * k * 0.618034, 2.0);
    for (int n = 0; n < kPeriod; ++n) {
      period[n] += amplitude * std::cos(2 * std::numbers::pi * k * n / kPeriod + phase);
    }
  }

  // Scale each half-wave to full scale so that both rails clip alike; the small asymmetry
  // this adds only makes the buzz harsher.
  const auto [low, high] = std::minmax_element(period.begin(), period.end());
  const double negative = -*low;
  const double positive = *high;
  for (double& value : period) {
    value = value > 0 ? value / positive : value / negative;
  }

  const auto render = [&](double gain) {
    Samples samples(6666);
    for (std::size_t n = 0; n < samples.size(); ++n) {
      const double value = std::clamp(gain * 32768 * period[n % kPeriod], -32768.0, 32767.0);
      samples[n] = static_cast<std::int16_t>(std::lround(value));
    }
    return samples;
  };
  const auto rms = [](const Samples& samples) {
    double sum = 0;
    for (const std::int16_t s : samples) {
      sum += static_cast<double>(s) * s;
    }
    return std::sqrt(sum / static_cast<double>(samples.size()));
  };

  // The gain that gives an RMS of about 15000, found by bisection (RMS grows with the gain).
  double quiet = 0;
  double loud = 100;
  for (int step = 0; step < 100; ++step) {
    const double mid = (quiet + loud) / 2;
    (rms(render(mid)) < 15000 ? quiet : loud) = mid;
  }
  // At least full scale, so that both rails are reached.
  return render(std::max(loud, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: wavegen ALARM|BUZZ OUTPUT\n";
    return 2;
  }
  const std::string name = argv[1];
  std::vector<std::uint8_t> image;
  if (name == "ALARM") {
    image = WaveImage(8000, Alarm());
  } else if (name == "BUZZ") {
    image = WaveImage(22050, Buzz());
  } else {
    std::cerr << "wavegen: unknown sound " << name << "\n";
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.data()),
            static_cast<std::streamsize>(image.size()));
  return out ? 0 : 1;
}
