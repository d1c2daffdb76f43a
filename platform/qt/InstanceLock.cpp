// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "QtEnvironment.h"
#include "platform/Environment.h"
#include "platform/OnError.h"

namespace platform {

InstanceLock::InstanceLock(std::string path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

bool InstanceLock::Acquire() {
  if (fd_ >= 0) {
    return true;
  }
  // Only a lock in a folder that no one else can write, in a file of this user's own, can say
  // that an earlier instance runs: anyone else's could be held to keep the game from starting.
  const std::string folder = path_.substr(0, path_.find_last_of('/') + 1);
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
      (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    Fail();
  }
  const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    Fail();
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
    ::close(fd);
    Fail();
  }
  int result = 0;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) {
    fd_ = fd;
    return true;
  }
  const int error = errno;
  ::close(fd);
  if (error == EWOULDBLOCK) {
    return false;
  }
  Fail();
}

std::string InstanceLock::DefaultPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime == '/') {
    return std::string(runtime) + "/wirbelbox.lock";
  }
  // A folder of this user's own in the shared temporary folder, made here when missing.
  const std::string folder = UserTemporaryFolder() + "/wirbelbox-" + std::to_string(::geteuid());
  ::mkdir(folder.c_str(), 0700);
  return folder + "/wirbelbox.lock";
}

}  // namespace platform
