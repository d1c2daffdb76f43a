// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundPlayer.h"

#include "Backend.h"

namespace platform {

bool SoundPlayer::Play(std::span<const std::uint8_t> image, std::uint32_t flags) {
  if ((flags & SND_ASYNC) == 0) {
    PaintWindows();
  }
  return sndPlaySoundA(image, flags);
}

}  // namespace platform
