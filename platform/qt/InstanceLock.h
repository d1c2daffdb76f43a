// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: tells whether another instance of the game is running.
#pragma once

#include <string>

namespace platform {

// An exclusive lock on a file, held for the life of this object. The kernel drops it when the
// process ends in any way, so a killed instance never blocks the next start.
class InstanceLock {
 public:
  explicit InstanceLock(std::string path);
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock();

  // True when this object now holds the lock, false when another holder has it. Raises Failure
  // when the lock cannot be trusted: a folder others can write, a file that is not this user's,
  // or one that cannot be opened at all.
  bool Acquire();

  // Where the game keeps its lock: the user's runtime folder, else a folder of the user's own
  // in the temporary folder.
  static std::string DefaultPath();

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace platform
