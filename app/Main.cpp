// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"

#include "Commands.h"
#include "game/frmGame.h"
#include "platform/App.h"
#include "platform/OnError.h"

using platform::Do;
using platform::If;
namespace App = platform::App;

void Main() {
  // A query that fails (say, the runtime folder is not writable) must not keep the player from
  // playing, so only a definite answer ends the start.
  bool earlierInstance = false;
  Do([&] { earlierInstance = App::PrevInstance(); });
  if (earlierInstance) {
    App::End();
  }
  Do([] { Commands::InitPaths(); });
  Do([] { Commands::InitAppFiles(); });
  if (If([] { return App::Command() != u""; })) {
    Do([] { Commands::CmdLine = App::Command(); });
  }
  Do([] { frmGame::Default().Show(); });
}
