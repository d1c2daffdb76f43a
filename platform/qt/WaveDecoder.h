// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: turns a RIFF/WAVE image into samples ready for an audio output.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

// An audio output's sample format, as SDL names it.
struct OutputFormat {
  int frequency = 44100;
  std::uint16_t format = 0x8010;  // AUDIO_S16LSB
  std::uint8_t channels = 1;
};

// Sets the SDL hints that make corrupt images fail to load instead of loading "successfully"
// with made-up sizes, and that name the game's audio stream. Safe to call more than once.
void ConfigureSdlAudio();

// The image's samples converted to `output`. Empty for anything but a well-formed PCM image with
// 1 or 2 channels at 1 to 192 kHz; the chunk list is walked and unknown chunks are skipped.
std::optional<std::vector<std::uint8_t>> DecodeWave(std::span<const std::uint8_t> image,
                                                    const OutputFormat& output);

}  // namespace platform
