// SPDX-License-Identifier: GPL-3.0-or-later
// The path functions on Linux. There are no Windows and System folders, so those report failure
// (0); the temporary folder is the user's; a long path is the path itself when the file exists.
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

#include "QtEnvironment.h"
#include "platform/Environment.h"
#include "platform/OnError.h"

namespace platform {
namespace {

// Copies `text` and its terminating NUL into the caller's buffer the way kernel32 does: when it
// does not fit, nothing is written and the size needed is returned.
std::uint32_t CopyOut(const std::string& text, char* buffer, std::uint32_t size) {
  const auto needed = static_cast<std::uint32_t>(text.size() + 1);
  if (buffer == nullptr || needed > size) {
    return needed;
  }
  std::memcpy(buffer, text.c_str(), needed);
  return needed - 1;
}

std::string ExecutablePath() {
  std::array<char, 4096> path{};
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) {
    Fail();
  }
  return {path.data(), static_cast<std::size_t>(length)};
}

class LinuxEnvironment final : public Environment {
 public:
  String AppFolder() override {
    const std::string path = ExecutablePath();
    const auto slash = path.rfind('/');
    return FromAnsi(slash == 0 ? "/" : path.substr(0, slash));
  }

  String AppBaseName() override { return FromAnsi(BaseName(ExecutablePath(), "/")); }

  std::uint32_t GetWindowsDirectoryA(char* /*buffer*/, std::uint32_t /*size*/) override {
    return 0;
  }

  std::uint32_t GetSystemDirectoryA(char* /*buffer*/, std::uint32_t /*size*/) override { return 0; }

  std::uint32_t GetTempPathA(std::uint32_t size, char* buffer) override {
    std::string folder = UserTemporaryFolder();
    if (folder.back() != '/') {
      folder += '/';
    }
    return CopyOut(folder, buffer, size);
  }

  std::uint32_t GetLongPathNameA(const char* path, char* buffer, std::uint32_t size) override {
    struct stat info {};
    if (path == nullptr || ::stat(path, &info) != 0) {
      return 0;
    }
    return CopyOut(path, buffer, size);
  }
};

}  // namespace

std::string UserTemporaryFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  return (tmpdir != nullptr && *tmpdir == '/') ? tmpdir : "/tmp";
}

Environment& NativeEnvironment() {
  static LinuxEnvironment environment;
  return environment;
}

}  // namespace platform
