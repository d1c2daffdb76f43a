// SPDX-License-Identifier: GPL-3.0-or-later
// Text on a home without a code page of its own (the page, the headless back end): the "ANSI"
// text is UTF-8 (characters outside the 16-bit range come out as U+FFFD), and letters change case
// by the C library's mapping for all of Unicode.
#include <locale.h>
#include <wctype.h>

#include "Strings.h"

namespace platform {
namespace {

// Whatever locale the program runs in: glibc's "C" locale changes the case of ASCII letters alone,
// where the other homes change every letter's.
locale_t Unicode() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  return locale;
}

}  // namespace

char16_t UCase(char16_t c) {
  return static_cast<char16_t>(Unicode() ? towupper_l(c, Unicode()) : towupper(c));
}

char16_t LCase(char16_t c) {
  return static_cast<char16_t>(Unicode() ? towlower_l(c, Unicode()) : towlower(c));
}

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
