// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstanceLock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/OnError.h"

namespace {

class InstanceLockTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "wirbelbox-lock-XXXXXX");
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/wirbelbox.lock";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string folder_;
  std::string path_;
};

TEST_F(InstanceLockTest, OnlyOneHolderAtATimeAndReleasedWithItsHolder) {
  auto first = std::make_unique<platform::InstanceLock>(path_);
  platform::InstanceLock second(path_);
  EXPECT_TRUE(first->Acquire());
  EXPECT_FALSE(second.Acquire());
  first.reset();
  EXPECT_TRUE(second.Acquire());
}

TEST_F(InstanceLockTest, AKilledHolderDoesNotBlockTheNextStart) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::InstanceLock lock(path_);
    const char held = lock.Acquire() ? 'y' : 'n';
    (void)!::write(ready[1], &held, 1);
    ::pause();
    std::_Exit(0);
  }
  char held = 0;
  ASSERT_EQ(::read(ready[0], &held, 1), 1);
  ASSERT_EQ(held, 'y');

  platform::InstanceLock next(path_);
  EXPECT_FALSE(next.Acquire());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(next.Acquire());
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST_F(InstanceLockTest, AFolderThatCannotHoldTheLockFails) {
  platform::InstanceLock lock(folder_ + "/missing/wirbelbox.lock");
  EXPECT_THROW(lock.Acquire(), platform::Failure);
}

TEST_F(InstanceLockTest, TheLockLivesInTheUsersRuntimeFolderElseInTheTemporaryOne) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string original = saved != nullptr ? saved : "";
  ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
  EXPECT_EQ(platform::InstanceLock::DefaultPath(), folder_ + "/wirbelbox.lock");

  ::unsetenv("XDG_RUNTIME_DIR");
  const std::string path = platform::InstanceLock::DefaultPath();
  const std::string suffix = "/wirbelbox-" + std::to_string(::getuid()) + ".lock";
  ASSERT_GT(path.size(), suffix.size());
  EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
  if (saved != nullptr) {
    ::setenv("XDG_RUNTIME_DIR", original.c_str(), 1);
  }
}

}  // namespace
