// SPDX-License-Identifier: GPL-3.0-or-later
// Sound on Windows: winmm's sndPlaySoundA, loaded on the first sound.
#include <vector>

#include "Win32Native.h"
#include "platform/SoundPlayer.h"

namespace platform {
namespace {

class WinmmPlayer final : public SoundPlayer {
 protected:
  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override {
    using Play = BOOL(WINAPI*)(LPCSTR, UINT);
    static const auto play = [] {
      HMODULE winmm = ::LoadLibraryW(L"winmm.dll");
      return winmm != nullptr ? reinterpret_cast<Play>(reinterpret_cast<void*>(
                                    ::GetProcAddress(winmm, "sndPlaySoundA")))
                              : nullptr;
    }();
    if (play == nullptr) {
      return false;
    }
    const std::uint8_t* bytes = image.data();
    if ((flags & SND_ASYNC) != 0) {
      // The caller's image goes away when it returns: the player keeps its own copy, once the
      // sound it replaces has stopped reading the old one.
      play(nullptr, 0);
      held_.assign(image.begin(), image.end());
      bytes = held_.data();
    }
    return play(reinterpret_cast<LPCSTR>(bytes), flags) != FALSE;
  }

 private:
  std::vector<std::uint8_t> held_;
};

}  // namespace

SoundPlayer& NativeSoundPlayer() {
  static WinmmPlayer player;
  return player;
}

}  // namespace platform
