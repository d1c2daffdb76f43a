// SPDX-License-Identifier: GPL-3.0-or-later
// The application in a web page:
// - single instance: a Web Lock named after the application id, held for the page's life; a
//   second tab says that the game runs in another tab, and stops (a moment after it starts:
//   the browser answers lock requests later);
// - command line: none, so the argument text is empty; paths: a page has no folders, so every
//   path function reports failure and the folders come out as a lone backslash;
// - resources: the two sounds and the icon, compiled into the program (EmbeddedResources);
// - sound: WebAudio. A synchronous sound does not block the thread (the page would freeze);
//   instead the tick's changes are painted, the sound plays, and every later event waits until
//   it has ended. Sounds of one tick play one after the other.
#include <emscripten.h>
#include <emscripten/val.h>

#include <cwctype>
#include <string>
#include <vector>

#include "EmbeddedResources.h"
#include "platform/App.h"
#include "platform/Environment.h"
#include "platform/Form.h"
#include "platform/OnError.h"
#include "platform/SoundPlayer.h"
#include "platform/Strings.h"
#include "platform/Twips.h"

namespace platform {
namespace {

// Plays a wave image after the sounds before it; with `wait` every later event waits for its end.
// Silent (0) before the page may play sound.
// clang-format off
EM_JS(int, wb_play, (const std::uint8_t* data, int size, int wait), {
  const audio = Module.wbAudio;
  if (!audio || audio.state !== 'running') {
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
      source.onended = ended;
      source.start();
      // A device that stops must not hold up the game much longer than the sound.
      setTimeout(ended, buffer.duration * 1000 + 250);
    });
  }).catch(() => {}).finally(() => {
    if (wait && --Module.wbPending === 0) {
      Module.wbDrain();
    }
  });
  return 1;
});
// clang-format on

// clang-format off
EM_JS(void, wb_set_icon, (const std::uint8_t* data, int size), {
  let text = "";
  for (let i = 0; i < size; i++) {
    text += String.fromCharCode(HEAPU8[data + i]);
  }
  let link = document.querySelector('link[rel=icon]');
  if (!link) {
    link = document.createElement('link');
    link.rel = 'icon';
    document.head.appendChild(link);
  }
  link.href = 'data:image/png;base64,' + btoa(text);
});
// clang-format on

// Takes the game's Web Lock for the page's life; when another tab holds it, the page says so
// and stops instead of playing. The answer comes a moment after the start.
// clang-format off
EM_JS(void, wb_claim_instance, (), {
  if (!navigator.locks) {
    return;
  }
  navigator.locks.request(
      'io.github.wirbelbox.wirbelbox', {ifAvailable: true}, (lock) => {
        if (!lock) {
          Module.wbRun = () => {};
          document.body.textContent = 'Wirbelbox is already running in another tab.';
          return undefined;
        }
        return new Promise(() => {});
      });
});
// clang-format on

class WebPlayer final : public SoundPlayer {
 public:
  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override {
    return wb_play(image.data(), static_cast<int>(image.size()),
                   (flags & SND_ASYNC) == 0 ? 1 : 0) != 0;
  }
};

class WebEnvironment final : public Environment {
 public:
  String AppFolder() override { return {}; }
  String AppBaseName() override { return u"wirbelbox"; }
  std::uint32_t GetWindowsDirectoryA(char*, std::uint32_t) override { return 0; }
  std::uint32_t GetSystemDirectoryA(char*, std::uint32_t) override { return 0; }
  std::uint32_t GetTempPathA(std::uint32_t, char*) override { return 0; }
  std::uint32_t GetLongPathNameA(const char*, char*, std::uint32_t) override { return 0; }
};

std::u16string Upper(const String& text) {
  std::u16string upper;
  for (const char16_t c : text) {
    upper += UCase(c);
  }
  return upper;
}

}  // namespace

SoundPlayer& NativeSoundPlayer() {
  static WebPlayer player;
  return player;
}

Environment& NativeEnvironment() {
  static WebEnvironment environment;
  return environment;
}

char16_t UCase(char16_t c) {
  return static_cast<char16_t>(std::towupper(c));
}

char16_t LCase(char16_t c) {
  return static_cast<char16_t>(std::towlower(c));
}

// The page's text is UTF-8 (characters outside the 16-bit range come out as U+FFFD).
std::string ToAnsi(const String& text) {
  std::string bytes;
  for (const char16_t c : text) {
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if (c < 0x800) {
      bytes += static_cast<char>(0xC0 | (c >> 6));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      bytes += static_cast<char>(0xE0 | (c >> 12));
      bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return bytes;
}

String FromAnsi(std::string_view bytes) {
  String text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F);
    bool valid = length != 0 && i + length <= bytes.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next >> 6) == 2;
      c = (c << 6) | (next & 0x3F);
    }
    text += valid ? static_cast<char16_t>(c) : u'\uFFFD';
    i += valid ? length : 1;
  }
  return text;
}

std::string ToUtf8(const String& text) {
  return ToAnsi(text);
}

void Form::Icon(std::u16string_view resourceName) {
  const std::vector<std::uint8_t> image = App::LoadResData(String(resourceName), u"ICON");
  wb_set_icon(image.data(), static_cast<int>(image.size()));
}

}  // namespace platform

namespace platform::App {

// The answer is not known at once in a page: this tab plays, and stops as soon as it learns
// that another tab had the game first.
bool PrevInstance() {
  static const bool claimed = (wb_claim_instance(), true);
  return !claimed;
}

void End() {
  emscripten_exit_with_live_runtime();
  __builtin_unreachable();
}

String Command() {
  return {};
}

std::vector<std::uint8_t> LoadResData(const String& name, const String& type) {
  const String wantedName = Upper(name);
  const String wantedType = Upper(type);
  for (const EmbeddedResource& resource : kEmbeddedResources) {
    if (FromAnsi(resource.type) == wantedType && FromAnsi(resource.name) == wantedName) {
      return {resource.data, resource.data + resource.size};
    }
  }
  Fail();
}

}  // namespace platform::App

namespace platform::Screen {

float Width() {
  return PixelsToTwips(emscripten::val::global("innerWidth").as<int>());
}

float Height() {
  return PixelsToTwips(emscripten::val::global("innerHeight").as<int>());
}

}  // namespace platform::Screen
