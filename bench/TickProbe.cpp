// SPDX-License-Identifier: GPL-3.0-or-later
// Ticks per second of the game's timer, measured inside the program on any back end: the game
// runs with the button held and its sounds discarded for SECONDS, then it prints
// ticks_per_s=… and ends.
// Usage: tick_probe [SECONDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/frmGame.h"
#include "platform/App.h"
#include "platform/Runtime.h"
#include "sound/Sound.h"

namespace {

class SilentPlayer final : public platform::SoundPlayer {
 public:
  bool sndPlaySoundA(std::span<const std::uint8_t>, std::uint32_t) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  using Clock = std::chrono::steady_clock;
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  platform::Runtime runtime(argc, argv);
  SilentPlayer silent;
  UseSoundPlayer(&silent);
  frmGame game;
  game.Show();
  std::vector<Clock::time_point> ticks;
  game.tmrEnemies.OnTimer([&] {
    ticks.push_back(Clock::now());
    game.tmrEnemies_Timer();
  });
  game.picUser_MouseDown(1, 0, 300, 300);
  platform::Timer stop;
  stop.Interval(seconds * 1000);
  stop.OnTimer([&] {
    const std::chrono::duration<double> span = ticks.back() - ticks.front();
    std::printf("ticks_per_s=%.2f\n", static_cast<double>(ticks.size() - 1) / span.count());
    std::fflush(stdout);
    platform::App::End();
  });
  stop.Enabled(true);
  return runtime.Run();
}
