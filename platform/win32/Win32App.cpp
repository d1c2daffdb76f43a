// SPDX-License-Identifier: GPL-3.0-or-later
// The application on Windows:
// - single instance: a named mutex in the session's namespace, named after the application id;
//   the system drops it when the process dies, so a killed game never blocks the next start;
// - command line: the text after the program's name, as GetCommandLineW hands it over;
// - resources: the program's own, linked in from resources/wirbelbox.rc;
// - text: the system's case mapping and ANSI code page.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "Win32Native.h"
#include "platform/App.h"
#include "platform/OnError.h"
#include "platform/Strings.h"
#include "platform/Twips.h"

namespace platform {
namespace {

std::wstring WideOf(const String& text) {
  return {text.begin(), text.end()};
}

std::string Narrow(const String& text, UINT codePage) {
  const std::wstring wide = WideOf(text);
  const int size = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(std::max(size, 0)), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                        nullptr, nullptr);
  return bytes;
}

char16_t Mapped(char16_t c, DWORD (*map)(LPWSTR, DWORD)) {
  wchar_t text[1] = {static_cast<wchar_t>(c)};
  map(text, 1);
  return static_cast<char16_t>(text[0]);
}

}  // namespace

char16_t UCase(char16_t c) {
  return Mapped(c, ::CharUpperBuffW);
}

char16_t LCase(char16_t c) {
  return Mapped(c, ::CharLowerBuffW);
}

std::string ToAnsi(const String& text) {
  return Narrow(text, CP_ACP);
}

String FromAnsi(std::string_view bytes) {
  const int size =
      ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  return {wide.begin(), wide.end()};
}

std::string ToUtf8(const String& text) {
  return Narrow(text, CP_UTF8);
}

}  // namespace platform

namespace platform::App {

bool PrevInstance() {
  static const bool earlier = [] {
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Local\\" WIRBELBOX_APP_ID);
    if (mutex == nullptr) {
      Fail();
    }
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
  }();
  return earlier;
}

void End() {
  ::ExitProcess(0);
}

String Command() {
  const wchar_t* text = ::GetCommandLineW();
  // The program's name: quoted, or up to the first blank.
  if (*text == L'"') {
    for (++text; *text != L'\0' && *text != L'"'; ++text) {
    }
    text += *text == L'"' ? 1 : 0;
  } else {
    while (*text != L'\0' && *text != L' ' && *text != L'\t') {
      ++text;
    }
  }
  while (*text == L' ' || *text == L'\t') {
    ++text;
  }
  return {text, text + std::wcslen(text)};
}

std::vector<std::uint8_t> LoadResData(const String& name, const String& type) {
  if (name.empty() || type.empty()) {
    Fail();
  }
  HRSRC found = ::FindResourceW(nullptr, WideOf(name).c_str(), WideOf(type).c_str());
  HGLOBAL loaded = found != nullptr ? ::LoadResource(nullptr, found) : nullptr;
  const auto* bytes =
      static_cast<const std::uint8_t*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
  if (bytes == nullptr) {
    Fail();
  }
  return {bytes, bytes + ::SizeofResource(nullptr, found)};
}

}  // namespace platform::App

namespace platform::Screen {

// In game pixels, as the window's place is: the primary screen's size at 100 %.
float Width() {
  return static_cast<float>(PixelsToTwips(::GetSystemMetrics(SM_CXSCREEN)) / Scale(nullptr));
}

float Height() {
  return static_cast<float>(PixelsToTwips(::GetSystemMetrics(SM_CYSCREEN)) / Scale(nullptr));
}

}  // namespace platform::Screen
