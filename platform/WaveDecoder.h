// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: turns a RIFF/WAVE image into samples ready for an audio output.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

// The image's samples as 16-bit mono at `rate` samples per second (channels mixed, the rate
// converted with a windowed-sinc filter). Empty for anything but a well-formed PCM image of 8 or
// 16 bits, 1 or 2 channels at 1 to 192 kHz, whose data chunk lies whole within the image; the
// chunk list is walked and unknown chunks are skipped.
std::optional<std::vector<std::int16_t>> DecodeWave(std::span<const std::uint8_t> image, int rate);

}  // namespace platform
