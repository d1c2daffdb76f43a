// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the system's player of wave images held in memory.
#pragma once

#include <cstdint>
#include <span>

namespace platform {

inline constexpr std::uint32_t SND_SYNC = 0x0000;
inline constexpr std::uint32_t SND_ASYNC = 0x0001;
inline constexpr std::uint32_t SND_NODEFAULT = 0x0002;
inline constexpr std::uint32_t SND_MEMORY = 0x0004;
inline constexpr std::uint32_t SND_LOOP = 0x0008;
inline constexpr std::uint32_t SND_NOSTOP = 0x0010;

// Plays a complete RIFF/WAVE image. Unless SND_ASYNC is set it returns only when the sound has
// ended. It never plays a default sound and never throws; false means nothing was played.
class SoundPlayer {
 public:
  SoundPlayer() = default;
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;
  virtual ~SoundPlayer() = default;

  // Paints the windows first when the sound will block the thread, then plays.
  bool Play(std::span<const std::uint8_t> image, std::uint32_t flags);

 protected:
  virtual bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) = 0;
};

// The player of the running system: the desktop's sound server on Linux, winmm on Windows,
// WebAudio in a page, nothing in the headless back end.
SoundPlayer& NativeSoundPlayer();

}  // namespace platform
