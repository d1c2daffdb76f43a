// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtSound.h"

#include <QApplication>
#include <QTimer>

#include <optional>
#include <vector>

#include "PulseLibrary.h"
#include "platform/Runtime.h"
#include "platform/WaveDecoder.h"

namespace platform {

using std::chrono::microseconds;

// Holds the main loop's lock: every call into a connection or stream needs it.
class PulseSoundPlayer::Locked {
 public:
  explicit Locked(const PulseSoundPlayer& player) : player_(player) {
    player_.pa_->MainloopLock(player_.loop_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  ~Locked() { player_.pa_->MainloopUnlock(player_.loop_); }

 private:
  const PulseSoundPlayer& player_;
};

PulseSoundPlayer::PulseSoundPlayer() : pa_(Pulse()) {}

PulseSoundPlayer::~PulseSoundPlayer() {
  Close();
  delete closer_;
}

bool PulseSoundPlayer::sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) {
  std::optional<std::vector<std::int16_t>> samples = DecodeWave(image, kRate);
  if (!samples || !Connect()) {
    ScheduleClose();
    return false;
  }
  // The sound's last byte in the stream: the silence after it is not waited for.
  const std::int64_t last = written_ + static_cast<std::int64_t>(samples->size() * kFrameBytes);
  samples->resize(samples->size() + kPadding);
  {
    Locked lock(*this);
    // The whole sound at once: the server holds it all, and no thread of ours needs to run
    // while it plays.
    const std::size_t bytes = samples->size() * kFrameBytes;
    written_ += static_cast<std::int64_t>(bytes);
    if (pa_->StreamWrite(stream_, samples->data(), bytes, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
      Disconnect();
      return false;
    }
  }
  const auto now = Clock::now();
  busyUntil_ = std::max(busyUntil_, now) +
               microseconds(1'000'000LL * static_cast<long long>(samples->size()) / kRate);
  bool played = true;
  if ((flags & SND_ASYNC) == 0 && !WaitUntilHeard(last, busyUntil_ + kLatest)) {
    // The server stopped taking sound or went away: what it still holds is dropped with the
    // connection, and a later sound connects anew.
    Disconnect();
    played = false;
  }
  ScheduleClose();
  return played;
}

bool PulseSoundPlayer::Connect() {
  if (pa_ == nullptr) {
    return false;
  }
  const auto now = Clock::now();
  auto deadline = now;  // a connection under way is not waited for again
  if (context_ == nullptr) {
    if (now < retryAfter_) {
      return false;
    }
    retryAfter_ = now + kRetry;
    if (loop_ == nullptr) {
      loop_ = pa_->MainloopNew();
      if (loop_ == nullptr) {
        return false;
      }
      if (pa_->MainloopStart(loop_) < 0) {
        pa_->MainloopFree(loop_);
        loop_ = nullptr;
        return false;
      }
    }
    Locked lock(*this);
    pa_proplist* properties = pa_->ProplistNew();
    pa_->ProplistSets(properties, PA_PROP_APPLICATION_NAME, "Wirbelbox");
    pa_->ProplistSets(properties, PA_PROP_APPLICATION_ID, "io.github.wirbelbox.wirbelbox");
    pa_->ProplistSets(properties, PA_PROP_APPLICATION_ICON_NAME, "io.github.wirbelbox.wirbelbox");
    context_ = pa_->ContextNew(pa_->MainloopApi(loop_), "Wirbelbox", properties);
    pa_->ProplistFree(properties);
    if (context_ == nullptr) {
      return false;
    }
    pa_->ContextSetStateCallback(
        context_, [](pa_context*, void* self) { static_cast<PulseSoundPlayer*>(self)->Changed(); },
        this);
    // A game's sound starts no server of its own.
    if (pa_->ContextConnect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
      Disconnect();
      return false;
    }
    deadline = now + kOpenDeadline;
  }
  Await([this] { return Settled(); }, deadline);
  Locked lock(*this);
  if (!Good()) {
    Disconnect();
    return false;
  }
  const bool ready = stream_ != nullptr && pa_->StreamGetState(stream_) == PA_STREAM_READY;
  if (ready) {
    retryAfter_ = {};
  }
  return ready;
}

bool PulseSoundPlayer::Settled() {
  if (!Good()) {
    return true;
  }
  if (pa_->ContextGetState(context_) != PA_CONTEXT_READY) {
    return false;
  }
  if (stream_ == nullptr) {
    const pa_sample_spec spec{PA_SAMPLE_S16NE, kRate, 1};
    stream_ = pa_->StreamNew(context_, "Wirbelbox", &spec, nullptr);
    if (stream_ == nullptr) {
      return true;
    }
    written_ = 0;
    pa_->StreamSetStateCallback(
        stream_, [](pa_stream*, void* self) { static_cast<PulseSoundPlayer*>(self)->Changed(); },
        this);
    // A short target latency: a sound starts within a few milliseconds of being written. The
    // server takes far more than the target when a whole sound is written at once. A prebuffer
    // of one frame: each sound starts as soon as it arrives, and a stream that has run dry waits
    // for the next instead of running on past it (which would cut off the next sound's start).
    constexpr std::uint32_t kTarget = kRate * kFrameBytes / 25;  // 40 ms
    constexpr auto kAny = static_cast<std::uint32_t>(-1);
    const pa_buffer_attr buffer{kAny, kTarget, kFrameBytes, kAny, kAny};
    if (pa_->StreamConnectPlayback(stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr,
                                   nullptr) < 0) {
      return true;
    }
  }
  return pa_->StreamGetState(stream_) != PA_STREAM_CREATING;
}

bool PulseSoundPlayer::Good() const {
  return context_ != nullptr && PA_CONTEXT_IS_GOOD(pa_->ContextGetState(context_)) &&
         (stream_ == nullptr || PA_STREAM_IS_GOOD(pa_->StreamGetState(stream_)));
}

void PulseSoundPlayer::Disconnect() {
  if (loop_ == nullptr) {
    return;
  }
  Locked lock(*this);
  if (stream_ != nullptr) {
    pa_->StreamSetStateCallback(stream_, nullptr, nullptr);
    pa_->StreamDisconnect(stream_);
    pa_->StreamUnref(stream_);
    stream_ = nullptr;
  }
  if (context_ != nullptr) {
    pa_->ContextSetStateCallback(context_, nullptr, nullptr);
    pa_->ContextDisconnect(context_);
    pa_->ContextUnref(context_);
    context_ = nullptr;
  }
}

void PulseSoundPlayer::Close() {
  if (closer_) {
    closer_->stop();
  }
  if (loop_ == nullptr) {
    return;
  }
  Disconnect();
  // Stopping only wakes the loop's thread and joins it: it never waits for the server.
  pa_->MainloopStop(loop_);
  pa_->MainloopFree(loop_);
  loop_ = nullptr;
}

bool PulseSoundPlayer::WaitUntilHeard(std::int64_t last, Clock::time_point deadline) {
  for (;;) {
    std::uint64_t asked = 0;
    {
      Locked lock(*this);
      asked = timings_;
      pa_operation* update = pa_->StreamUpdateTimingInfo(
          stream_,
          [](pa_stream*, int, void* self) {
            ++static_cast<PulseSoundPlayer*>(self)->timings_;
            static_cast<PulseSoundPlayer*>(self)->Changed();
          },
          this);
      if (update == nullptr) {
        return false;
      }
      pa_->OperationUnref(update);
    }
    // A server that does not answer within a moment has stopped.
    if (!Await([&] { return timings_ != asked || !Good(); },
               std::min(deadline, Clock::now() + kStall))) {
      return false;
    }
    std::int64_t unread = 0;
    bool taken = false;
    pa_usec_t device = 0;
    {
      Locked lock(*this);
      const pa_timing_info* timing = Good() ? pa_->StreamGetTimingInfo(stream_) : nullptr;
      if (timing == nullptr) {
        return false;
      }
      unread = std::max<std::int64_t>(0, last - timing->read_index);
      taken = unread == 0;
      device = timing->sink_usec;
    }
    // Samples the device has not taken yet take their own length at the least (more while an
    // idle device first plays out what it held); once it has taken the last, that leaves the
    // speaker after the device's latency.
    const auto rest = microseconds(1'000'000 * unread / kFrameBytes / kRate + (taken ? device : 0));
    const auto until = Clock::now() + rest;
    if (until > deadline) {
      return false;
    }
    Await([this] { return !Good(); }, until);
    if (taken) {
      return true;
    }
  }
}

template <typename Done>
bool PulseSoundPlayer::Await(Done done, Clock::time_point deadline) {
  for (;;) {
    std::uint64_t seen = 0;
    {
      const std::lock_guard guard(mutex_);
      seen = changes_;
    }
    {
      Locked lock(*this);
      if (done()) {
        return true;
      }
    }
    std::unique_lock guard(mutex_);
    if (!changed_.wait_until(guard, deadline, [&] { return changes_ != seen; })) {
      return false;
    }
  }
}

// Called on the main loop's thread whenever a connection, stream or request changes.
void PulseSoundPlayer::Changed() {
  {
    const std::lock_guard guard(mutex_);
    ++changes_;
  }
  changed_.notify_all();
}

void PulseSoundPlayer::ScheduleClose() {
  if (QApplication::instance() == nullptr || loop_ == nullptr) {
    return;  // nothing to let go, or no event loop to do it later: it stays until the player goes
  }
  if (!closer_) {
    // Owned by the application, so it goes before the application does.
    closer_ = new QTimer(QApplication::instance());
    closer_->setSingleShot(true);
    QObject::connect(closer_, &QTimer::timeout, [this] { Close(); });
  }
  closer_->start(kIdleClose);
}

SoundPlayer& NativeSoundPlayer() {
  static PulseSoundPlayer* player = nullptr;  // owned by the runtime: it lets the server go first
  return player != nullptr ? *player : Runtime::Current().Own(player);
}

}  // namespace platform
