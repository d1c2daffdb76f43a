// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted stand-in for the system's path functions.
#pragma once

#include <cstring>
#include <optional>
#include <string>

#include "platform/Environment.h"
#include "platform/OnError.h"

// Each folder is reported as given; std::nullopt makes the function report failure (0), and
// `throws` makes the call itself fail, as a function missing from the system does.
struct FakeEnvironment final : platform::Environment {
  std::optional<std::string> folder = "C:\\Games";
  std::optional<std::string> baseName = "Wirbelbox";
  std::optional<std::string> windowsDirectory = "C:\\WINDOWS";
  std::optional<std::string> systemDirectory = "C:\\WINDOWS\\SYSTEM";
  std::optional<std::string> tempPath = "C:\\TEMP\\";
  // nullopt: the long form cannot be determined; otherwise what is written into the buffer.
  std::optional<std::string> longPath;
  bool windowsDirectoryThrows = false;
  bool longPathThrows = false;
  // Overrides the count a folder function returns (for counts beyond the buffer).
  std::optional<std::uint32_t> reportedCount;

  std::string lastLongPathInput;
  std::uint32_t lastSize = 0;

  platform::String AppFolder() override { return platform::FromAnsi(Get(folder)); }
  platform::String AppBaseName() override { return platform::FromAnsi(Get(baseName)); }

  std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override {
    if (windowsDirectoryThrows) {
      platform::Fail();
    }
    return Write(windowsDirectory, buffer, size);
  }
  std::uint32_t GetSystemDirectoryA(char* buffer, std::uint32_t size) override {
    return Write(systemDirectory, buffer, size);
  }
  std::uint32_t GetTempPathA(std::uint32_t size, char* buffer) override {
    return Write(tempPath, buffer, size);
  }
  std::uint32_t GetLongPathNameA(const char* path, char* buffer, std::uint32_t size) override {
    lastLongPathInput = path;
    if (longPathThrows) {
      platform::Fail();
    }
    return Write(longPath, buffer, size);
  }

 private:
  static std::string Get(const std::optional<std::string>& value) {
    if (!value) {
      platform::Fail();
    }
    return *value;
  }

  std::uint32_t Write(const std::optional<std::string>& value, char* buffer, std::uint32_t size) {
    lastSize = size;
    if (!value) {
      return 0;
    }
    std::memcpy(buffer, value->data(), std::min<std::size_t>(value->size(), size));
    return reportedCount.value_or(static_cast<std::uint32_t>(value->size()));
  }
};
