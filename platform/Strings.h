// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the text operations of the game's 16-bit strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

using String = std::u16string;

// Case mapping of one character, following the platform's Unicode tables.
char16_t UCase(char16_t c);
char16_t LCase(char16_t c);

// The first `length` characters; fails on a negative length, as the original runtime did.
String Left(const String& text, std::int32_t length);

// Conversions to and from the system's narrow code page (the locale's, UTF-8 as a rule).
std::string ToAnsi(const String& text);
String FromAnsi(std::string_view bytes);

// For tests and diagnostics: the UTF-8 form of a string.
std::string ToUtf8(const String& text);

}  // namespace platform
