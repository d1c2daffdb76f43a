// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: PulseAudio's client functions, loaded when the first sound needs them.
#pragma once

#include <pulse/context.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

namespace platform {

// Served by PulseAudio and by PipeWire's PulseAudio server alike. Loaded on the first sound, so
// that start-up, and a game that plays no sound, go without it.
struct PulseLibrary {
  decltype(&pa_threaded_mainloop_new) MainloopNew = nullptr;
  decltype(&pa_threaded_mainloop_free) MainloopFree = nullptr;
  decltype(&pa_threaded_mainloop_start) MainloopStart = nullptr;
  decltype(&pa_threaded_mainloop_stop) MainloopStop = nullptr;
  decltype(&pa_threaded_mainloop_lock) MainloopLock = nullptr;
  decltype(&pa_threaded_mainloop_unlock) MainloopUnlock = nullptr;
  decltype(&pa_threaded_mainloop_get_api) MainloopApi = nullptr;
  decltype(&pa_proplist_new) ProplistNew = nullptr;
  decltype(&pa_proplist_sets) ProplistSets = nullptr;
  decltype(&pa_proplist_free) ProplistFree = nullptr;
  decltype(&pa_context_new_with_proplist) ContextNew = nullptr;
  decltype(&pa_context_set_state_callback) ContextSetStateCallback = nullptr;
  decltype(&pa_context_connect) ContextConnect = nullptr;
  decltype(&pa_context_get_state) ContextGetState = nullptr;
  decltype(&pa_context_disconnect) ContextDisconnect = nullptr;
  decltype(&pa_context_unref) ContextUnref = nullptr;
  decltype(&pa_stream_new) StreamNew = nullptr;
  decltype(&pa_stream_set_state_callback) StreamSetStateCallback = nullptr;
  decltype(&pa_stream_connect_playback) StreamConnectPlayback = nullptr;
  decltype(&pa_stream_get_state) StreamGetState = nullptr;
  decltype(&pa_stream_write) StreamWrite = nullptr;
  decltype(&pa_stream_update_timing_info) StreamUpdateTimingInfo = nullptr;
  decltype(&pa_stream_get_timing_info) StreamGetTimingInfo = nullptr;
  decltype(&pa_stream_disconnect) StreamDisconnect = nullptr;
  decltype(&pa_stream_unref) StreamUnref = nullptr;
  decltype(&pa_operation_unref) OperationUnref = nullptr;
};

// libpulse, loaded on the first call; null when the library or one of its functions is missing.
const PulseLibrary* Pulse();

}  // namespace platform
