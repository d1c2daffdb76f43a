// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the web back end's objects behind the platform's interface (DOM elements through
// embind), and what its files share.
#pragma once

#include <emscripten/val.h>

#include <string>

#include "platform/Backend.h"

namespace platform {

struct Form::Impl {
  emscripten::val element = emscripten::val::undefined();
  int width = 0;
  int height = 0;
  float left = 0;
  float top = 0;
};

struct PictureBox::Impl {
  emscripten::val element = emscripten::val::undefined();
  int id = 0;
};

struct HScrollBar::Impl {
  emscripten::val element = emscripten::val::undefined();
};

struct Timer::Impl {
  int id = 0;
  int handle = 0;
};

emscripten::val Document();
std::string Px(int pixels);
std::string Css(Rgb color);
// A CSS background of one colour, painted as an image of that colour as well: browsers count only
// text and images as a page's contentful paints, and without them its audits cannot measure it.
std::string Fill(Rgb color);
// Makes an element of `tag` with the id given, the last child of `parent`.
emscripten::val Make(const char* tag, const emscripten::val& parent, const std::string& id);
void Style(const emscripten::val& element, const char* property, const std::string& value);
// Puts a control above every control brought to the front before it.
void BringElementToFront(const emscripten::val& element);

}  // namespace platform
