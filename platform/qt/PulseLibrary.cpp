// SPDX-License-Identifier: GPL-3.0-or-later
#include "PulseLibrary.h"

#include <dlfcn.h>

#include <memory>

namespace platform {
namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

std::unique_ptr<PulseLibrary> Load() {
  void* library = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    return nullptr;
  }
  auto pa = std::make_unique<PulseLibrary>();
  auto& p = *pa;
  const bool complete =
      Resolve(library, "pa_threaded_mainloop_new", p.MainloopNew) &&
      Resolve(library, "pa_threaded_mainloop_free", p.MainloopFree) &&
      Resolve(library, "pa_threaded_mainloop_start", p.MainloopStart) &&
      Resolve(library, "pa_threaded_mainloop_stop", p.MainloopStop) &&
      Resolve(library, "pa_threaded_mainloop_lock", p.MainloopLock) &&
      Resolve(library, "pa_threaded_mainloop_unlock", p.MainloopUnlock) &&
      Resolve(library, "pa_threaded_mainloop_get_api", p.MainloopApi) &&
      Resolve(library, "pa_proplist_new", p.ProplistNew) &&
      Resolve(library, "pa_proplist_sets", p.ProplistSets) &&
      Resolve(library, "pa_proplist_free", p.ProplistFree) &&
      Resolve(library, "pa_context_new_with_proplist", p.ContextNew) &&
      Resolve(library, "pa_context_set_state_callback", p.ContextSetStateCallback) &&
      Resolve(library, "pa_context_connect", p.ContextConnect) &&
      Resolve(library, "pa_context_get_state", p.ContextGetState) &&
      Resolve(library, "pa_context_disconnect", p.ContextDisconnect) &&
      Resolve(library, "pa_context_unref", p.ContextUnref) &&
      Resolve(library, "pa_stream_new", p.StreamNew) &&
      Resolve(library, "pa_stream_set_state_callback", p.StreamSetStateCallback) &&
      Resolve(library, "pa_stream_connect_playback", p.StreamConnectPlayback) &&
      Resolve(library, "pa_stream_get_state", p.StreamGetState) &&
      Resolve(library, "pa_stream_write", p.StreamWrite) &&
      Resolve(library, "pa_stream_update_timing_info", p.StreamUpdateTimingInfo) &&
      Resolve(library, "pa_stream_get_timing_info", p.StreamGetTimingInfo) &&
      Resolve(library, "pa_stream_disconnect", p.StreamDisconnect) &&
      Resolve(library, "pa_stream_unref", p.StreamUnref) &&
      Resolve(library, "pa_operation_unref", p.OperationUnref);
  if (!complete) {
    dlclose(library);
    return nullptr;
  }
  return pa;  // the library stays loaded for the life of the process
}

}  // namespace

const PulseLibrary* Pulse() {
  static const std::unique_ptr<PulseLibrary> pa = Load();
  return pa.get();
}

}  // namespace platform
