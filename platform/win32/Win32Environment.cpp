// SPDX-License-Identifier: GPL-3.0-or-later
// The path functions on Windows: kernel32's own, each looked up when it is first called, so a
// system that lacks one fails that call only.
#include <windows.h>

#include <array>
#include <string>

#include "platform/Environment.h"
#include "platform/OnError.h"

namespace platform {
namespace {

template <typename Function>
Function Kernel32(const char* name) {
  static HMODULE module = ::GetModuleHandleA("kernel32.dll");
  const FARPROC address = module != nullptr ? ::GetProcAddress(module, name) : nullptr;
  if (address == nullptr) {
    Fail();
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

std::string ExecutablePath() {
  std::array<char, MAX_PATH + 1> path{};
  const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    Fail();
  }
  return {path.data(), length};
}

class WindowsEnvironment final : public Environment {
 public:
  String AppFolder() override {
    const std::string path = ExecutablePath();
    return FromAnsi(path.substr(0, path.find_last_of("\\/")));
  }

  String AppBaseName() override { return FromAnsi(BaseName(ExecutablePath(), "\\/")); }

  std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override {
    using Function = UINT(WINAPI*)(LPSTR, UINT);
    static const auto function = Kernel32<Function>("GetWindowsDirectoryA");
    return function(buffer, size);
  }

  std::uint32_t GetSystemDirectoryA(char* buffer, std::uint32_t size) override {
    using Function = UINT(WINAPI*)(LPSTR, UINT);
    static const auto function = Kernel32<Function>("GetSystemDirectoryA");
    return function(buffer, size);
  }

  std::uint32_t GetTempPathA(std::uint32_t size, char* buffer) override {
    using Function = DWORD(WINAPI*)(DWORD, LPSTR);
    static const auto function = Kernel32<Function>("GetTempPathA");
    return function(size, buffer);
  }

  std::uint32_t GetLongPathNameA(const char* path, char* buffer, std::uint32_t size) override {
    using Function = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    static const auto function = Kernel32<Function>("GetLongPathNameA");
    return function(path, buffer, size);
  }
};

}  // namespace

Environment& NativeEnvironment() {
  static WindowsEnvironment environment;
  return environment;
}

}  // namespace platform
