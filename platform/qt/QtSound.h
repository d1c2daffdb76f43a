// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: wave playback through the desktop's sound server (PulseAudio, or PipeWire's
// PulseAudio server).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>

#include <QPointer>

#include "platform/SoundPlayer.h"

class QTimer;
struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace platform {

struct PulseLibrary;

// Connects to the sound server on the first sound and lets go of it again after a few quiet
// seconds, so that an idle game keeps no thread awake. Each sound is handed to the server whole,
// so a busy machine cannot starve it halfway; a synchronous sound returns once the server
// reports its last sample heard. Without a server every call returns at once, silent. A server
// can vanish or stop answering at any moment: nothing here waits for it beyond a short
// deadline, and a later sound connects anew.
class PulseSoundPlayer final : public SoundPlayer {
 public:
  using Clock = std::chrono::steady_clock;

  PulseSoundPlayer();
  ~PulseSoundPlayer() override;

  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override;

 private:
  class Locked;

  bool Connect();
  // Creates the stream once connected; true once connected and ready, or failed for good.
  bool Settled();
  bool Good() const;
  // Drops the stream and the connection, without waiting for the server.
  void Disconnect();
  // Also ends the main loop's thread.
  void Close();
  // Waits until the stream's bytes up to `last` have been heard; false if the server stalls.
  bool WaitUntilHeard(std::int64_t last, Clock::time_point deadline);
  // Waits until `done` (called with the main loop locked) or the deadline; false at the deadline.
  template <typename Done>
  bool Await(Done done, Clock::time_point deadline);
  void Changed();
  void ScheduleClose();

  static constexpr int kRate = 44100;
  static constexpr int kFrameBytes = 2;  // 16-bit mono
  // Silence written after each sound. PipeWire's PulseAudio server plays a stream that waits for
  // its prebuffer only in whole periods of its graph (5.3 ms for the stream's latency): without
  // it, a sound's last part period stayed in the server and was heard in front of the next sound.
  static constexpr std::size_t kPadding = kRate * 8 / 1000;
  // How long connecting may hold up the first sound; a slower server is waited for in the
  // background while the game plays on silently.
  static constexpr std::chrono::milliseconds kOpenDeadline{300};
  // How long after the last sound the connection is let go.
  static constexpr std::chrono::milliseconds kIdleClose{3000};
  // After a failed connection, how long until the next sound tries again.
  static constexpr std::chrono::milliseconds kRetry{1000};
  // How long a server may take to answer before it counts as stopped.
  static constexpr std::chrono::milliseconds kStall{250};
  // How much longer than the sounds written a synchronous sound may take to be heard: a device's
  // latency is two seconds at the most.
  static constexpr std::chrono::milliseconds kLatest{2250};

  const PulseLibrary* pa_ = nullptr;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  std::uint64_t timings_ = 0;  // timing replies received; under the main loop's lock
  std::int64_t written_ = 0;   // bytes written to the stream
  Clock::time_point retryAfter_;
  Clock::time_point busyUntil_;  // when the sounds written so far end, at the earliest

  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t changes_ = 0;
  QPointer<QTimer> closer_;
};

}  // namespace platform
