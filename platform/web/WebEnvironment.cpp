// SPDX-License-Identifier: GPL-3.0-or-later
// Paths in a page: a page has no folders, so every path function reports failure and the folders
// come out as a lone backslash.
#include "platform/Environment.h"

namespace platform {
namespace {

class WebEnvironment final : public Environment {
 public:
  String AppFolder() override { return {}; }
  String AppBaseName() override { return u"wirbelbox"; }
  std::uint32_t GetWindowsDirectoryA(char*, std::uint32_t) override { return 0; }
  std::uint32_t GetSystemDirectoryA(char*, std::uint32_t) override { return 0; }
  std::uint32_t GetTempPathA(std::uint32_t, char*) override { return 0; }
  std::uint32_t GetLongPathNameA(const char*, char*, std::uint32_t) override { return 0; }
};

}  // namespace

Environment& NativeEnvironment() {
  static WebEnvironment environment;
  return environment;
}

}  // namespace platform
