// SPDX-License-Identifier: GPL-3.0-or-later
// The application in a web page:
// - single instance: a Web Lock named after the application id, held for the page's life; a
//   second tab says that the game runs in another tab, and stops (a moment after it starts:
//   the browser answers lock requests later);
// - command line: none, so the argument text is empty;
// - resources: the two sounds and the icon, compiled into the program (EmbeddedResources).
#include <emscripten.h>
#include <emscripten/val.h>

#include <cwctype>
#include <span>
#include <string>
#include <vector>

#include "EmbeddedResources.h"
#include "platform/App.h"
#include "platform/OnError.h"
#include "platform/Strings.h"
#include "platform/Twips.h"

namespace platform {
namespace {

// Takes the game's Web Lock for the page's life; when another tab holds it, the page says so
// and stops instead of playing. The answer comes a moment after the start.
// clang-format off
EM_JS(void, wb_claim_instance, (const char* id), {
  if (!navigator.locks) {
    return;
  }
  navigator.locks.request(
      UTF8ToString(id), {ifAvailable: true}, (lock) => {
        if (!lock) {
          Module.wbRun = () => {};
          document.body.textContent = 'Wirbelbox is already running in another tab.';
          return undefined;
        }
        return new Promise(() => {});
      });
});
// clang-format on

std::u16string Upper(const String& text) {
  std::u16string upper;
  for (const char16_t c : text) {
    upper += UCase(c);
  }
  return upper;
}

}  // namespace

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

}  // namespace platform

namespace platform::App {

// The answer is not known at once in a page: this tab plays, and stops as soon as it learns
// that another tab had the game first.
bool PrevInstance() {
  static const bool claimed = (wb_claim_instance(WIRBELBOX_APP_ID), true);
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
  for (const EmbeddedResource& resource : std::span(kEmbeddedResources, kEmbeddedResourceCount)) {
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
