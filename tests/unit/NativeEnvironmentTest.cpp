// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "platform/Environment.h"

namespace {

TEST(NativeEnvironment, WindowsAndSystemFoldersDoNotExistHere) {
  std::string buffer(260, '\0');
  auto& system = platform::NativeEnvironment();
  EXPECT_EQ(system.GetWindowsDirectoryA(buffer.data(), 260), 0U);
  EXPECT_EQ(system.GetSystemDirectoryA(buffer.data(), 260), 0U);
}

TEST(NativeEnvironment, TempPathIsTheUsersTemporaryFolderWithItsSeparator) {
  std::string buffer(260, '\0');
  const auto n = platform::NativeEnvironment().GetTempPathA(260, buffer.data());
  ASSERT_GT(n, 0U);
  const std::string folder = buffer.substr(0, n);
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(buffer[n], '\0');
}

TEST(NativeEnvironment, LongPathSucceedsUnchangedOnlyForAnExistingFile) {
  auto& system = platform::NativeEnvironment();
  std::string buffer(260, '\0');
  EXPECT_EQ(system.GetLongPathNameA("/proc/self/exe", buffer.data(), 260), 14U);
  EXPECT_EQ(buffer.substr(0, 15), std::string("/proc/self/exe\0", 15));
  EXPECT_EQ(system.GetLongPathNameA("/no/such/file.exe", buffer.data(), 260), 0U);
  // Too small a buffer: the size needed, buffer untouched, like the system's own function.
  std::string small(4, 'x');
  EXPECT_EQ(system.GetLongPathNameA("/proc/self/exe", small.data(), 4), 15U);
  EXPECT_EQ(small, "xxxx");
}

TEST(NativeEnvironment, ExecutableFolderAndNameAreThisTestsOwn) {
  auto& system = platform::NativeEnvironment();
  EXPECT_EQ(platform::ToUtf8(system.AppBaseName()), "unit_tests");
  const std::string folder = platform::ToUtf8(system.AppFolder());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_NE(folder.back(), '/');
}

}  // namespace

namespace {

TEST(NativeEnvironment, BaseNameDropsFolderAndOnlyTheLastExtension) {
  const struct {
    const char* path;
    const char* separators;
    const char* name;
  } cases[] = {
      {"C:\\Games\\Wirbelbox.exe", "\\/", "Wirbelbox"},
      {"/usr/games/wirbelbox", "/", "wirbelbox"},
      {"/opt/wb/wirbel.box.bin", "/", "wirbel.box"},
      {"/home/me/.wirbelbox", "/", ".wirbelbox"},
      {"plain", "/", "plain"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::BaseName(c.path, c.separators), c.name) << c.path;
  }
}

}  // namespace
