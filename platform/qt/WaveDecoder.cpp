// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaveDecoder.h"

#include <cstring>
#include <limits>
#include <new>

#include "SdlLibrary.h"

namespace platform {
namespace {

// A loaded wave, released with SDL_FreeWAV.
struct Wave {
  explicit Wave(const SdlLibrary& library) : sdl(library) {}
  Wave(const Wave&) = delete;
  Wave& operator=(const Wave&) = delete;
  ~Wave() { sdl.FreeWAV(data); }

  const SdlLibrary& sdl;
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
};

bool Plausible(const SDL_AudioSpec& spec, Uint32 length) {
  const bool pcm = spec.format == AUDIO_S16LSB || spec.format == AUDIO_U8 ||
                   spec.format == AUDIO_S32LSB || spec.format == AUDIO_F32LSB;
  const int frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
  return pcm && spec.channels >= 1 && spec.channels <= 2 && spec.freq >= 1000 &&
         spec.freq <= 192000 && length > 0 && length % static_cast<Uint32>(frameBytes) == 0;
}

}  // namespace

void ConfigureSdlAudio() {
  const SdlLibrary* sdl = Sdl();
  if (sdl == nullptr) {
    return;
  }
  sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdl->SetHint(SDL_HINT_APP_NAME, "Wirbelbox");
  sdl->SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Wirbelbox");
  sdl->SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Wirbelbox");
  sdl->SetHint(SDL_HINT_WAVE_TRUNCATION, "verystrict");
  sdl->SetHint(SDL_HINT_WAVE_RIFF_CHUNK_SIZE, "force");
}

std::optional<std::vector<std::uint8_t>> DecodeWave(std::span<const std::uint8_t> image,
                                                    const OutputFormat& output) {
  const SdlLibrary* sdl = Sdl();
  if (sdl == nullptr || image.empty() ||
      image.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return std::nullopt;
  }
  Wave wave(*sdl);
  SDL_RWops* source = sdl->RWFromConstMem(image.data(), static_cast<int>(image.size()));
  if (source == nullptr ||
      sdl->LoadWAV_RW(source, 1, &wave.spec, &wave.data, &wave.length) == nullptr ||
      !Plausible(wave.spec, wave.length)) {
    return std::nullopt;
  }
  SDL_AudioCVT cvt{};
  if (sdl->BuildAudioCVT(&cvt, wave.spec.format, wave.spec.channels, wave.spec.freq, output.format,
                         output.channels, output.frequency) < 0) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> samples;
  try {
    samples.resize(static_cast<std::size_t>(wave.length) * static_cast<std::size_t>(cvt.len_mult));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  std::memcpy(samples.data(), wave.data, wave.length);
  cvt.buf = samples.data();
  cvt.len = static_cast<int>(wave.length);
  if (cvt.needed != 0 && sdl->ConvertAudio(&cvt) < 0) {
    return std::nullopt;
  }
  samples.resize(static_cast<std::size_t>(cvt.needed != 0 ? cvt.len_cvt : cvt.len));
  if (samples.empty()) {
    return std::nullopt;
  }
  return samples;
}

}  // namespace platform
