// SPDX-License-Identifier: GPL-3.0-or-later
// A sound player that plays nothing and remembers what it was asked to play.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/SoundPlayer.h"
#include "sound/Sound.h"

class RecordingPlayer final : public platform::SoundPlayer {
 public:
  struct Call {
    std::string sound;  // "ALARM", "BUZZ" or "size N" for any other image
    std::uint32_t flags;
  };

  RecordingPlayer() : previous_(UseSoundPlayer(*this)) {}
  ~RecordingPlayer() override { UseSoundPlayer(previous_); }

  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override {
    calls.push_back({Name(image.size()), flags});
    if (onPlay) {
      onPlay();
    }
    return true;
  }

  std::vector<std::string> Sounds() const {
    std::vector<std::string> sounds;
    for (const Call& call : calls) {
      sounds.push_back(call.sound);
    }
    return sounds;
  }

  std::vector<Call> calls;
  // Runs while a sound "plays", to look at the game at that moment.
  std::function<void()> onPlay;

 private:
  static std::string Name(std::size_t size) {
    if (size == 8896) {
      return "ALARM";
    }
    if (size == 17428) {
      return "BUZZ";
    }
    return "size " + std::to_string(size);
  }

  platform::SoundPlayer& previous_;
};
