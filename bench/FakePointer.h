// SPDX-License-Identifier: GPL-3.0-or-later
// Real pointer input through the X server's XTEST extension, on a connection of its own (kept
// apart from Qt's headers, which clash with Xlib's).
#pragma once

struct _XDisplay;

class FakePointer {
 public:
  FakePointer();
  FakePointer(const FakePointer&) = delete;
  FakePointer& operator=(const FakePointer&) = delete;
  ~FakePointer();

  void MoveTo(int x, int y);
  void Press(unsigned button);
  void Release(unsigned button);

 private:
  _XDisplay* display_;
};
