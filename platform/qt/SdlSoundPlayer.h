// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: wave playback through SDL's audio subsystem (SDL video is never started).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>

#include <QPointer>

#include "platform/SoundPlayer.h"

class QTimer;

namespace platform {

// Opens the audio device on the first sound and closes it again after a few quiet seconds, so
// an idle game keeps no audio thread awake. Without any usable device every call returns at
// once, silent.
class SdlSoundPlayer final : public SoundPlayer {
 public:
  SdlSoundPlayer();
  ~SdlSoundPlayer() override;

  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override;

  // Whether the device is open now (for tests), and SDL's id of it (for measurements).
  bool DeviceOpen() const { return device_ != 0; }
  std::uint32_t Device() const { return device_; }
  // How long the device stays open after the last sound.
  void IdleClose(std::chrono::milliseconds delay) { idleClose_ = delay; }

 private:
  bool Open();
  void Close();
  void WaitUntilPlayed(std::chrono::milliseconds length);
  void ScheduleClose();

  // How long starting the audio output may take before the game gives up on sound.
  static constexpr std::chrono::milliseconds kOpenDeadline{2000};

  std::uint32_t device_ = 0;
  bool unavailable_ = false;
  int frequency_ = 0;
  std::uint16_t format_ = 0;
  std::uint8_t channels_ = 0;
  std::uint16_t periodFrames_ = 0;
  std::chrono::milliseconds idleClose_{3000};
  QPointer<QTimer> closer_;
};

}  // namespace platform
