// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

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
  const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
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
  // Shared folder: the user id keeps users apart.
  return UserTemporaryFolder() + "/wirbelbox-" + std::to_string(::getuid()) + ".lock";
}

}  // namespace platform
