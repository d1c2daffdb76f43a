// SPDX-License-Identifier: GPL-3.0-or-later
#include "SdlSoundPlayer.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "SdlLibrary.h"
#include "WaveDecoder.h"

namespace platform {
namespace {

using std::chrono::milliseconds;

// Paints what the game changed before the thread blocks, so the player sees it while the
// sound plays. No input is handled here.
void RepaintWindows() {
  if (QApplication::instance() == nullptr) {
    return;
  }
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) {
      window->repaint();
    }
  }
}

}  // namespace

SdlSoundPlayer::SdlSoundPlayer() {
  ConfigureSdlAudio();
}

SdlSoundPlayer::~SdlSoundPlayer() {
  Close();
  delete closer_;
}

bool SdlSoundPlayer::sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) {
  const SdlLibrary* sdl = Sdl();
  if (sdl == nullptr || !Open()) {
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

  if ((flags & SND_ASYNC) == 0) {
    const auto frameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(format_) / 8 * channels_);
    const auto frames = static_cast<long long>(samples->size() / frameBytes);
    WaitUntilPlayed(milliseconds(1000LL * frames / frequency_));
  }
  ScheduleClose();
  return true;
}

bool SdlSoundPlayer::Open() {
  if (device_ != 0) {
    return true;
  }
  if (unavailable_) {
    return false;
  }
  // Starting SDL's audio can wait forever on a sound server that accepts and never answers, so
  // it runs on a helper thread; past the deadline the game plays on silently from then on.
  struct Opening {
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec obtained{};
  };
  const SdlLibrary* sdl = Sdl();
  if (sdl == nullptr) {
    return false;
  }
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
    opening.device =
        sdl->OpenAudioDevice(nullptr, 0, &wanted, &opening.obtained,
                             SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (opening.device == 0) {
      sdl->QuitSubSystem(SDL_INIT_AUDIO);
    }
    return opening;
  });
  std::future<Opening> result = task.get_future();
  std::thread(std::move(task)).detach();
  if (result.wait_for(kOpenDeadline) != std::future_status::ready) {
    unavailable_ = true;
    return false;
  }
  const Opening opening = result.get();
  if (opening.device == 0) {
    // No driver or no device: a later sound may find one (a headset plugged in).
    return false;
  }
  device_ = opening.device;
  frequency_ = opening.obtained.freq;
  format_ = opening.obtained.format;
  channels_ = opening.obtained.channels;
  periodFrames_ = opening.obtained.samples;
  return true;
}

void SdlSoundPlayer::Close() {
  if (closer_) {
    closer_->stop();
  }
  if (device_ != 0) {
    const SdlLibrary* sdl = Sdl();
    sdl->CloseAudioDevice(device_);
    device_ = 0;
    sdl->QuitSubSystem(SDL_INIT_AUDIO);
  }
}

void SdlSoundPlayer::WaitUntilPlayed(milliseconds length) {
  const SdlLibrary* sdl = Sdl();
  RepaintWindows();
  // A device that stops consuming must not hang the game: give up well after the sound's end.
  const auto deadline = std::chrono::steady_clock::now() + 2 * length + milliseconds(1000);
  while (sdl->GetQueuedAudioSize(device_) > 0 &&
         sdl->GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(2));
  }
  // The last period has left the queue but is still on its way out of the device; a second
  // period covers drivers that hand it on only after a period's wait.
  std::this_thread::sleep_for(std::chrono::microseconds(2'000'000LL * periodFrames_ / frequency_));
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
  closer_->start(idleClose_);
}

SoundPlayer& NativeSoundPlayer() {
  static SdlSoundPlayer player;
  return player;
}

}  // namespace platform
