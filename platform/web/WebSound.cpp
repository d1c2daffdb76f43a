// SPDX-License-Identifier: GPL-3.0-or-later
// Sound in a page: WebAudio. A synchronous sound does not block the thread (the page would
// freeze); instead the tick's changes are painted, the sound plays, and every later event waits
// until it has ended. Sounds of one tick play one after the other. Silent until the browser
// allows sound (events.js).
#include <emscripten.h>

#include "platform/SoundPlayer.h"

namespace platform {
namespace {

// Plays a wave image after the sounds before it; with `wait` every later event waits for its end.
// Silent (0) before the page may play sound; held while a gesture is starting the output.
// clang-format off
EM_JS(int, wb_play, (const std::uint8_t* data, int size, int wait), {
  const audio = Module.wbAudio;
  if (!audio || (audio.state !== 'running' && !Module.wbStarting)) {
    return 0;
  }
  const bytes = HEAPU8.slice(data, data + size).buffer;
  if (wait) {
    Module.wbPending++;
  }
  Module.wbSounds = (Module.wbSounds || Promise.resolve()).then(async () => {
    const buffer = await audio.decodeAudioData(bytes);
    const source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.destination);
    await new Promise((ended) => {
      // The sound has been rendered when the source says it has ended (the context's clock on
      // the main thread lags the rendering: counting its length from there would end the wait
      // while the sound still plays, and the next sound would overlap it); it is heard once the
      // output's latency has passed too, where the browser reports it. Gecko's outputLatency is
      // never read: on PulseAudio its getter waits for the sound server while holding a lock the
      // audio callback needs, and now and then the page stands still for tens of seconds (Gecko
      // reports no baseLatency either: there the end of the rendering counts). A device that
      // stops or never starts must not hold up the game for long: two seconds beyond the sound's
      // length, and the latency at most; an output that never started leaves later sounds silent
      // until the next gesture.
      let waiting = true;
      const finish = (played) => {
        if (!waiting) {
          return;
        }
        waiting = false;
        if (!played) {
          Module.wbStarting = null;
        }
        const gecko = navigator.userAgent.includes(' Gecko/');
        const latency = (gecko ? 0 : audio.outputLatency) || audio.baseLatency || 0;
        setTimeout(ended, Math.min(latency, 2) * 1000);
      };
      source.onended = () => finish(true);
      source.start();
      setTimeout(() => finish(false), buffer.duration * 1000 + 2000);
    });
  }).catch(() => {}).finally(() => {
    if (wait && --Module.wbPending === 0) {
      Module.wbDrain();
    }
  });
  return 1;
});
// clang-format on

class WebPlayer final : public SoundPlayer {
 protected:
  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override {
    return wb_play(image.data(), static_cast<int>(image.size()),
                   (flags & SND_ASYNC) == 0 ? 1 : 0) != 0;
  }
};

}  // namespace

SoundPlayer& NativeSoundPlayer() {
  static WebPlayer player;
  return player;
}

}  // namespace platform
