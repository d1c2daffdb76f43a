// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a sound server that never answers, at the socket path given, until it is killed.
#include <csignal>
#include <cstdio>

#include "../SilentServer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: silent_server SOCKET\n");
    return 2;
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigprocmask(SIG_BLOCK, &signals, nullptr);  // before the server's thread, which inherits it
  const SilentServer server(argv[1]);
  int received = 0;
  sigwait(&signals, &received);
  return 0;
}
