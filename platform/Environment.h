// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: what start-up asks the system about paths. Tests put a stand-in in its place.
#pragma once

#include <cstdint>

#include "Strings.h"

namespace platform {

// The executable's location and kernel32's four path functions in their ANSI forms. Every
// operation may raise Failure (a function the system lacks fails the one call that needs it).
class Environment {
 public:
  Environment() = default;
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;
  virtual ~Environment() = default;

  // The folder that holds the running executable, without a trailing separator.
  virtual String AppFolder() = 0;
  // The executable's file name without folder and extension.
  virtual String AppBaseName() = 0;

  virtual std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t GetSystemDirectoryA(char* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t GetTempPathA(std::uint32_t size, char* buffer) = 0;
  virtual std::uint32_t GetLongPathNameA(const char* path, char* buffer, std::uint32_t size) = 0;
};

// The running system's environment.
Environment& NativeEnvironment();

}  // namespace platform
