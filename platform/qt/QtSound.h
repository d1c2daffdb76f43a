// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: wave playback through SDL's audio subsystem (SDL video is never started).
#pragma once

#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <span>

#include <QPointer>

#include "platform/SoundPlayer.h"

class QTimer;

namespace platform {

// Opens the audio device on the first sound and closes it again after a few quiet seconds, so
// an idle game keeps no audio thread awake. Without any usable device every call returns at
// once, silent. A sound server can vanish or stop answering at any moment: SDL's calls that
// may wait for it (opening and closing the device) run on helper threads, a sound waits at
// most a little longer than itself, and a device that stopped playing is reopened.
class SdlSoundPlayer final : public SoundPlayer {
 public:
  SdlSoundPlayer();
  ~SdlSoundPlayer() override;

  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override;

  // SDL's id of the open device, or 0 (for measurements).
  std::uint32_t Device() const { return device_; }

 private:
  struct Opening {
    std::uint32_t device = 0;
    int frequency = 0;
    std::uint16_t format = 0;
    std::uint8_t channels = 0;
    std::uint16_t periodFrames = 0;
  };

  bool Open();
  void Close();
  // Waits for the sound to leave the device; false when the device stopped taking it.
  bool WaitUntilPlayed(std::chrono::milliseconds length);
  void ScheduleClose();

  // How long starting the audio output may hold up the first sound; a slower start goes on
  // in the background while the game plays on silently.
  static constexpr std::chrono::milliseconds kOpenDeadline{300};
  // How long the device stays open after the last sound.
  static constexpr std::chrono::milliseconds kIdleClose{3000};

  std::uint32_t device_ = 0;
  std::future<Opening> opening_;
  std::future<void> closing_;
  int frequency_ = 0;
  std::uint16_t format_ = 0;
  std::uint8_t channels_ = 0;
  std::uint16_t periodFrames_ = 0;
  QPointer<QTimer> closer_;
};

}  // namespace platform
