// SPDX-License-Identifier: GPL-3.0-or-later
// The game window in a page: a fixed 425 x 432 block, black, centred in the viewport and scaled
// as a whole to fit it (never above its natural size). The page draws no frame, but the outer
// size it reports is that of the same window on Windows at 100 % (see kWindowsFrame), so that the
// enemies turn where they do there; its title is the page's, its icon the favicon, and the page,
// not the game, decides where the block sits.
#include <emscripten.h>

#include <vector>

#include "WebNative.h"
#include "platform/App.h"
#include "platform/Twips.h"

namespace platform {
namespace {

// The frame that AdjustWindowRectEx adds on Windows 10 and 11 at 100 % for the game window's
// styles (caption and system menu, fixed frame): a 23-pixel caption and a 3-pixel frame.
struct {
  int left = 3;
  int top = 3 + 23;
  int right = 3;
  int bottom = 3;
} constexpr kWindowsFrame;

EM_JS(void, wb_fit_form, (const char* id),
      { Module.wbFit(document.getElementById(UTF8ToString(id))); });

// clang-format off
EM_JS(void, wb_set_icon, (const std::uint8_t* data, int size), {
  let text = "";
  for (let i = 0; i < size; i++) {
    text += String.fromCharCode(HEAPU8[data + i]);
  }
  let link = document.querySelector('link[rel=icon]');
  if (!link) {
    link = document.createElement('link');
    link.rel = 'icon';
    document.head.appendChild(link);
  }
  link.href = 'data:image/png;base64,' + btoa(text);
});
// clang-format on

// The page's main landmark: it carries the game's name and description for assistive technology.
emscripten::val Landmark() {
  emscripten::val main = Document().call<emscripten::val>("querySelector", std::string("main"));
  return main.isNull() ? Document()["body"] : main;
}

}  // namespace

Form::Form(std::string_view name, int clientWidthPixels, int clientHeightPixels)
    : impl_(std::make_unique<Impl>()) {
  impl_->element = Make("div", Landmark(), std::string(name));
  impl_->width = clientWidthPixels;
  impl_->height = clientHeightPixels;
  Style(impl_->element, "position", "absolute");
  Style(impl_->element, "transformOrigin", "0 0");
  Style(impl_->element, "width", Px(clientWidthPixels));
  Style(impl_->element, "height", Px(clientHeightPixels));
  Style(impl_->element, "overflow", "hidden");
  Style(impl_->element, "visibility", "hidden");
  Backend::WindowMade();
  wb_fit_form(impl_->element["id"].as<std::string>().c_str());
}

Form::~Form() {
  impl_->element.call<void>("remove");
}

float Form::Left() const {
  return impl_->left;
}

void Form::Left(float twips) {
  impl_->left = OnWholePixels(twips);
}

float Form::Top() const {
  return impl_->top;
}

void Form::Top(float twips) {
  impl_->top = OnWholePixels(twips);
}

float Form::Width() const {
  return PixelsToTwips(kWindowsFrame.left + impl_->width + kWindowsFrame.right);
}

float Form::Height() const {
  return PixelsToTwips(kWindowsFrame.top + impl_->height + kWindowsFrame.bottom);
}

void Form::Caption(std::string_view text) {
  Document().set("title", std::string(text));
}

void Form::Paint(Rgb color) {
  Style(impl_->element, "background", Fill(color));
}

void Form::Icon(std::u16string_view resourceName) {
  const std::vector<std::uint8_t> image = App::LoadResData(String(resourceName), u"ICON");
  wb_set_icon(image.data(), static_cast<int>(image.size()));
}

void Form::Display() {
  Style(impl_->element, "visibility", "visible");
}

}  // namespace platform
