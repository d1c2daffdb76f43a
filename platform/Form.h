// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: a top-level window of fixed size, measured in twips like the original runtime.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "Color.h"

namespace platform {

struct Backend;

// A window with a fixed-size client area, a title bar with close button and system menu, no
// maximise or minimise. Its position and outer size are in twips, frame included where the
// window system reports it.
class Form {
 public:
  struct Impl;  // the back end's window

  Form(std::string_view name, int clientWidthPixels, int clientHeightPixels);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  float Left() const;
  void Left(float twips);
  float Top() const;
  void Top(float twips);
  // The outer size; virtual so that tests can stand in any window size.
  virtual float Width() const;
  virtual float Height() const;

  void Caption(std::string_view text);
  void BackColor(std::uint32_t color);
  // The window's icon: an "ICON" resource of the program.
  void Icon(std::u16string_view resourceName);

  // Raises the load event on the first call, then displays the window modeless; returns at once.
  void Show();

  void OnLoad(std::function<void()> handler);
  // The handler may set Cancel to non-zero to keep the window open.
  void OnUnload(std::function<void(std::int16_t& Cancel)> handler);

 private:
  friend struct Backend;
  // Back-end entry: the user closes the window; false keeps it open.
  bool RaiseUnload();
  // Back-end hooks: fill the client area with a decoded colour; show the window.
  void Paint(Rgb color);
  void Display();

  std::unique_ptr<Impl> impl_;
  bool loaded_ = false;
  std::function<void()> load_;
  std::function<void(std::int16_t&)> unload_;
};

}  // namespace platform
