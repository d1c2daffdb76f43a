// SPDX-License-Identifier: GPL-3.0-or-later
// The application in a web page:
// - single instance: a Web Lock named after the application id, held for the page's life; a
//   second tab says that the game runs in another tab, and stops (a moment after it starts:
//   the browser answers lock requests later);
// - command line: none, so the argument text is empty;
// - resources: the two sounds and the icon, compiled into the program (EmbeddedResources).
#include <emscripten.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "platform/App.h"
#include "platform/OnError.h"
#include "platform/Strings.h"
#include "platform/Twips.h"

namespace platform {
namespace {

// Takes the game's Web Lock for the page's life; when another tab holds it, the page says so
// and stops instead of playing. The answer comes a moment after the start.
// clang-format off
EM_JS(void, wb_claim_instance, (const char* id), {
  if (!navigator.locks) {
    return;
  }
  navigator.locks.request(
      UTF8ToString(id), {ifAvailable: true}, (lock) => {
        if (!lock) {
          Module.wbRun = () => {};
          document.body.textContent = 'Wirbelbox is already running in another tab.';
          return undefined;
        }
        return new Promise(() => {});
      });
});
// clang-format on

}  // namespace

}  // namespace platform

namespace platform::App {

// The answer is not known at once in a page: this tab plays, and stops as soon as it learns
// that another tab had the game first.
bool PrevInstance() {
  static const bool claimed = (wb_claim_instance(WIRBELBOX_APP_ID), true);
  return !claimed;
}

void End() {
  emscripten_exit_with_live_runtime();
  __builtin_unreachable();
}

String Command() {
  return {};
}

}  // namespace platform::App

namespace platform::Screen {

float Width() {
  return PixelsToTwips(emscripten::val::global("innerWidth").as<int>());
}

float Height() {
  return PixelsToTwips(emscripten::val::global("innerHeight").as<int>());
}

}  // namespace platform::Screen
