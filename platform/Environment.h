// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: what start-up asks the system about paths. Tests put a stand-in in its place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// The file name in `path` (after the last of `separators`) without its extension.
inline std::string BaseName(std::string_view path, std::string_view separators) {
  const auto folder = path.find_last_of(separators);
  std::string_view name = folder == std::string_view::npos ? path : path.substr(folder + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) {
    name = name.substr(0, dot);
  }
  return std::string(name);
}

// A home without folders (a page, the headless back end): the program is "wirbelbox" and every
// path function reports failure, so the folders come out as a lone backslash.
class NoFolders final : public Environment {
 public:
  String AppFolder() override { return {}; }
  String AppBaseName() override { return u"wirbelbox"; }
  std::uint32_t GetWindowsDirectoryA(char*, std::uint32_t) override { return 0; }
  std::uint32_t GetSystemDirectoryA(char*, std::uint32_t) override { return 0; }
  std::uint32_t GetTempPathA(std::uint32_t, char*) override { return 0; }
  std::uint32_t GetLongPathNameA(const char*, char*, std::uint32_t) override { return 0; }
};

// The running system's environment.
Environment& NativeEnvironment();

}  // namespace platform
