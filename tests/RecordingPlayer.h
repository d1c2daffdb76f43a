// SPDX-License-Identifier: GPL-3.0-or-later
// A sound player that plays nothing and remembers what it was asked to play, by the image's size.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/SoundPlayer.h"
#include "sound/Sound.h"

class RecordingPlayer final : public platform::SoundPlayer {
 public:
  RecordingPlayer() : previous_(UseSoundPlayer(this)) {}
  ~RecordingPlayer() override { UseSoundPlayer(previous_); }

  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override {
    const std::size_t size = image.size();
    sounds.push_back(size == 8896 ? "ALARM" : size == 17428 ? "BUZZ" : std::to_string(size));
    this->flags.push_back(flags);
    if (onPlay) {
      onPlay();  // looks at the game while the sound "plays"
    }
    return true;
  }

  std::vector<std::string> sounds;
  std::vector<std::uint32_t> flags;
  std::function<void()> onPlay;

 private:
  platform::SoundPlayer* previous_;
};
