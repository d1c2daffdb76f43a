// SPDX-License-Identifier: GPL-3.0-or-later
#include "Sound.h"

#include <cstdint>
#include <vector>

#include "platform/App.h"
#include "platform/Numeric.h"
#include "platform/OnError.h"

using platform::CLng;
using platform::Do;
using platform::Fail;
using platform::If;

namespace {
platform::SoundPlayer* player = nullptr;

platform::SoundPlayer& Player() {
  return player != nullptr ? *player : platform::NativeSoundPlayer();
}
}  // namespace

platform::SoundPlayer* UseSoundPlayer(platform::SoundPlayer* replacement) {
  platform::SoundPlayer* previous = player;
  player = replacement;
  return previous;
}

void PlayResSound(const platform::String& ResName, std::optional<double> Flags) {
  std::vector<std::uint8_t> SoundBuffer;
  Do([&] { SoundBuffer = platform::App::LoadResData(ResName, u"WAVE"); });
  if (!Flags) {
    Flags = platform::SND_NODEFAULT + platform::SND_MEMORY;
  }
  if (If([&] { return (CLng(*Flags) & platform::SND_MEMORY) == 0; })) {
    Do([&] { Flags = CLng(*Flags) | platform::SND_MEMORY; });
  }
  Do([&] {
    if (SoundBuffer.empty()) {
      Fail();
    }
    Player().Play(SoundBuffer, static_cast<std::uint32_t>(CLng(*Flags)));
  });
}
