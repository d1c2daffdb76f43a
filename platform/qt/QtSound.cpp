// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtSound.h"

#include <QApplication>
#include <QTimer>

#include <future>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "SdlLibrary.h"
#include "WaveDecoder.h"
#include "platform/Runtime.h"

namespace platform {
namespace {

using std::chrono::milliseconds;

}  // namespace

SdlSoundPlayer::SdlSoundPlayer() {
  ConfigureSdlAudio();
}

SdlSoundPlayer::~SdlSoundPlayer() {
  Close();
  delete closer_;
  // A device normally closes at once; one whose server hangs is left to the end of the process.
  if (closing_.valid()) {
    closing_.wait_for(std::chrono::seconds(1));
  }
}

bool SdlSoundPlayer::sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) {
  const SdlLibrary* sdl = Sdl();
  if (sdl == nullptr || !Open()) {
    return false;
  }
  // Sound still queued from before: the server stopped taking it. Stay silent until it does.
  if (sdl->GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING &&
      sdl->GetQueuedAudioSize(device_) > 0) {
    ScheduleClose();
    return false;
  }
  const std::optional<std::vector<std::uint8_t>> samples =
      DecodeWave(image, {frequency_, format_, channels_});
  if (!samples ||
      sdl->QueueAudio(device_, samples->data(), static_cast<Uint32>(samples->size())) != 0) {
    ScheduleClose();
    return false;
  }
  sdl->PauseAudioDevice(device_, 0);

  bool playing = true;
  if ((flags & SND_ASYNC) == 0) {
    const auto frameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(format_) / 8 * channels_);
    const auto frames = static_cast<long long>(samples->size() / frameBytes);
    playing = WaitUntilPlayed(milliseconds(1000LL * frames / frequency_));
  }
  if (sdl->GetAudioDeviceStatus(device_) != SDL_AUDIO_PLAYING) {
    Close();  // the server went away: the next sound opens the device anew
    return false;
  }
  ScheduleClose();
  return playing;
}

bool SdlSoundPlayer::Open() {
  if (device_ != 0) {
    return true;
  }
  const SdlLibrary* sdl = Sdl();
  if (sdl == nullptr) {
    return false;
  }
  if (closing_.valid()) {
    // Closing takes a moment; one that waits for a stopped server holds up no sound for long.
    if (closing_.wait_for(kOpenDeadline) != std::future_status::ready) {
      return false;
    }
    closing_.get();
  }
  // Starting SDL's audio waits for the sound server, which may never answer: it runs on a
  // helper thread, and only the first sound that asks waits for it, a moment at most.
  milliseconds wait(0);
  if (!opening_.valid()) {
    std::packaged_task<Opening()> task([sdl] {
      Opening opening;
      if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return opening;
      }
      SDL_AudioSpec wanted{};
      wanted.freq = 44100;
      wanted.format = AUDIO_S16SYS;
      wanted.channels = 1;
      wanted.samples = 512;  // about 12 ms: a short tail after the queue has run dry
      SDL_AudioSpec obtained{};
      opening.device =
          sdl->OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                               SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
      if (opening.device == 0) {
        sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return opening;
      }
      opening.frequency = obtained.freq;
      opening.format = obtained.format;
      opening.channels = obtained.channels;
      opening.periodFrames = obtained.samples;
      return opening;
    });
    opening_ = task.get_future();
    std::thread(std::move(task)).detach();
    wait = kOpenDeadline;
  }
  if (opening_.wait_for(wait) != std::future_status::ready) {
    return false;
  }
  // No driver or no device: a later sound tries again (a headset plugged in, a server back).
  const Opening opening = opening_.get();
  device_ = opening.device;
  frequency_ = opening.frequency;
  format_ = opening.format;
  channels_ = opening.channels;
  periodFrames_ = opening.periodFrames;
  return device_ != 0;
}

void SdlSoundPlayer::Close() {
  if (closer_) {
    closer_->stop();
  }
  if (device_ == 0) {
    return;
  }
  const SdlLibrary* sdl = Sdl();
  const std::uint32_t device = std::exchange(device_, 0);
  // Closing waits for SDL's audio thread, which may be waiting for a server that stopped.
  std::packaged_task<void()> task([sdl, device] {
    sdl->CloseAudioDevice(device);
    sdl->QuitSubSystem(SDL_INIT_AUDIO);
  });
  closing_ = task.get_future();
  std::thread(std::move(task)).detach();
}

bool SdlSoundPlayer::WaitUntilPlayed(milliseconds length) {
  const SdlLibrary* sdl = Sdl();
  // A device that stops taking sound must not hold up the game much longer than the sound.
  const auto deadline = std::chrono::steady_clock::now() + length + milliseconds(250);
  while (sdl->GetQueuedAudioSize(device_) > 0 &&
         sdl->GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(milliseconds(2));
  }
  // The last period has left the queue but is still on its way out of the device; a second
  // period covers drivers that hand it on only after a period's wait.
  std::this_thread::sleep_for(std::chrono::microseconds(2'000'000LL * periodFrames_ / frequency_));
  return true;
}

void SdlSoundPlayer::ScheduleClose() {
  if (QApplication::instance() == nullptr) {
    return;  // no event loop to close it later: it stays open until the player goes
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
  static SdlSoundPlayer* player = nullptr;  // owned by the runtime: it closes the device first
  return player != nullptr ? *player : Runtime::Current().Own(player);
}

}  // namespace platform
