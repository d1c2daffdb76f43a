// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: SDL's audio functions, loaded when the first sound needs them.
#pragma once

#include <SDL.h>

namespace platform {

// Loading SDL brings some thirty libraries with it; a game that plays no sound, and every
// start-up, goes without them.
struct SdlLibrary {
  decltype(&SDL_SetHint) SetHint = nullptr;
  decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
  decltype(&SDL_QuitSubSystem) QuitSubSystem = nullptr;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
  decltype(&SDL_QueueAudio) QueueAudio = nullptr;
  decltype(&SDL_GetQueuedAudioSize) GetQueuedAudioSize = nullptr;
  decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus = nullptr;
  decltype(&SDL_RWFromConstMem) RWFromConstMem = nullptr;
  decltype(&SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
  decltype(&SDL_FreeWAV) FreeWAV = nullptr;
  decltype(&SDL_BuildAudioCVT) BuildAudioCVT = nullptr;
  decltype(&SDL_ConvertAudio) ConvertAudio = nullptr;
};

// SDL, loaded on the first call; null when the library or one of its functions is missing.
const SdlLibrary* Sdl();

}  // namespace platform
