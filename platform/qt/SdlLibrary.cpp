// SPDX-License-Identifier: GPL-3.0-or-later
#include "SdlLibrary.h"

#include <dlfcn.h>

#include <memory>

namespace platform {
namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

std::unique_ptr<SdlLibrary> Load() {
  void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    return nullptr;
  }
  auto sdl = std::make_unique<SdlLibrary>();
  const bool complete = Resolve(library, "SDL_SetHint", sdl->SetHint) &&
                        Resolve(library, "SDL_InitSubSystem", sdl->InitSubSystem) &&
                        Resolve(library, "SDL_QuitSubSystem", sdl->QuitSubSystem) &&
                        Resolve(library, "SDL_OpenAudioDevice", sdl->OpenAudioDevice) &&
                        Resolve(library, "SDL_CloseAudioDevice", sdl->CloseAudioDevice) &&
                        Resolve(library, "SDL_PauseAudioDevice", sdl->PauseAudioDevice) &&
                        Resolve(library, "SDL_QueueAudio", sdl->QueueAudio) &&
                        Resolve(library, "SDL_GetQueuedAudioSize", sdl->GetQueuedAudioSize) &&
                        Resolve(library, "SDL_GetAudioDeviceStatus", sdl->GetAudioDeviceStatus) &&
                        Resolve(library, "SDL_RWFromConstMem", sdl->RWFromConstMem) &&
                        Resolve(library, "SDL_LoadWAV_RW", sdl->LoadWAV_RW) &&
                        Resolve(library, "SDL_FreeWAV", sdl->FreeWAV) &&
                        Resolve(library, "SDL_BuildAudioCVT", sdl->BuildAudioCVT) &&
                        Resolve(library, "SDL_ConvertAudio", sdl->ConvertAudio);
  if (!complete) {
    dlclose(library);
    return nullptr;
  }
  return sdl;  // the library stays loaded for the life of the process
}

}  // namespace

const SdlLibrary* Sdl() {
  static const std::unique_ptr<SdlLibrary> sdl = Load();
  return sdl.get();
}

}  // namespace platform
