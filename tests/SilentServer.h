// SPDX-License-Identifier: GPL-3.0-or-later
// A sound server that accepts connections on a Unix socket and never answers.
#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

class SilentServer {
 public:
  explicit SilentServer(std::string path) : path_(std::move(path)) {
    listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path_.c_str());
    ::unlink(path_.c_str());
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 16);
    thread_ = std::thread([this] {
      for (;;) {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) {
          return;  // the listener was shut down
        }
        clients_.push_back(client);
      }
    });
  }
  ~SilentServer() {
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
    for (const int client : clients_) {
      ::close(client);
    }
    ::unlink(path_.c_str());
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

 private:
  std::string path_;
  int listener_ = -1;
  std::vector<int> clients_;
  std::thread thread_;
};
