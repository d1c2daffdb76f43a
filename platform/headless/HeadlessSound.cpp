// SPDX-License-Identifier: GPL-3.0-or-later
// Sound without a sound device: nothing plays, and every request says so.
#include "platform/SoundPlayer.h"

namespace platform {
namespace {

class SilentPlayer final : public SoundPlayer {
 protected:
  bool sndPlaySoundA(std::span<const std::uint8_t> /*image*/, std::uint32_t /*flags*/) override {
    return false;
  }
};

}  // namespace

SoundPlayer& NativeSoundPlayer() {
  static SilentPlayer player;
  return player;
}

}  // namespace platform
