// SPDX-License-Identifier: GPL-3.0-or-later
// How long one game tick takes when nothing is hit (no sound to play).
// Run: QT_QPA_PLATFORM=offscreen build/default/bench/tick_benchmark
#include <benchmark/benchmark.h>

#include <span>

#include "game/frmGame.h"
#include "platform/Runtime.h"
#include "sound/Sound.h"

namespace {

class SilentPlayer final : public platform::SoundPlayer {
 public:
  bool sndPlaySoundA(std::span<const std::uint8_t> /*image*/, std::uint32_t /*flags*/) override {
    return true;
  }
};

void OneTickWithoutSound(benchmark::State& state) {
  SilentPlayer silent;
  platform::SoundPlayer* previous = UseSoundPlayer(&silent);
  frmGame game;
  game.HScroll1.Value(1);
  game.picUser_MouseDown(1, 0, 0, 0);
  for (auto _ : state) {
    game.tmrEnemies_Timer();
    // Keep the enemies bouncing across the field without ever reaching the player block.
    game.picUser.Move(-500, -500);
  }
  UseSoundPlayer(previous);
}
BENCHMARK(OneTickWithoutSound);

void DragMove(benchmark::State& state) {
  frmGame game;
  game.picUser_MouseDown(1, 0, 300, 300);
  float x = 300;
  for (auto _ : state) {
    x = x == 300 ? 315 : 300;
    game.picUser_MouseMove(1, 0, x, 300);
  }
}
BENCHMARK(DragMove);

// Loading the resource and handing it on, with a player that discards it.
void PlayResSoundToADiscardingPlayer(benchmark::State& state) {
  SilentPlayer silent;
  platform::SoundPlayer* previous = UseSoundPlayer(&silent);
  for (auto _ : state) {
    PlayResSound(u"BUZZ");
  }
  UseSoundPlayer(previous);
}
BENCHMARK(PlayResSoundToADiscardingPlayer);

}  // namespace

int main(int argc, char** argv) {
  platform::Runtime runtime(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
