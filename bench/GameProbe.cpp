// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the running game from inside, on a real X server: tick rate and lateness, the time
// from a pointer motion to the block's repaint, and the sound's latency and blocking time.
//
// Usage: game_probe ticks|drag|sound [SECONDS]
// Prints key=value figures on one line.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "FakePointer.h"
#include "game/frmGame.h"
#include "platform/Runtime.h"
#include "platform/qt/QtNative.h"
#include "platform/qt/QtSound.h"
#include "sound/Sound.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1));
  return values[index];
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

class SilentPlayer final : public platform::SoundPlayer {
 public:
  bool sndPlaySoundA(std::span<const std::uint8_t>, std::uint32_t) override { return true; }
};

void RunFor(int seconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < seconds * 1000) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
}

// Ticks per second and how late each tick came against the 1/64 s grid.
void Ticks(frmGame& game, int seconds) {
  SilentPlayer silent;
  UseSoundPlayer(&silent);
  std::vector<Clock::time_point> ticks;
  game.tmrEnemies.OnTimer([&] {
    ticks.push_back(Clock::now());
    game.tmrEnemies_Timer();
  });
  const auto start = Clock::now();
  game.picUser_MouseDown(1, 0, 300, 300);
  RunFor(seconds);
  game.picUser_MouseUp(1, 0, 300, 300);
  std::vector<double> lateness;
  for (std::size_t k = 0; k < ticks.size(); ++k) {
    const auto due = start + std::chrono::nanoseconds(15'625'000LL * static_cast<long long>(k + 1));
    lateness.push_back(Ms(ticks[k] - due));
  }
  const double rate =
      static_cast<double>(ticks.size() - 1) / (Ms(ticks.back() - ticks.front()) / 1000);
  std::printf("ticks_per_s=%.2f lateness_p50_ms=%.2f lateness_p99_ms=%.2f\n", rate,
              Percentile(lateness, 50), Percentile(lateness, 99));
}

// Watches a drag: when a motion reaches the block, and when the window next starts a frame (the
// frame that paints the moved block and flushes it to the screen).
class DragWatch : public QObject {
 public:
  std::vector<double> latencies;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::MouseMove && !pending_) {
      pending_ = true;
      moved_ = Clock::now();
    } else if (event->type() == QEvent::UpdateRequest && pending_) {
      pending_ = false;
      latencies.push_back(Ms(Clock::now() - moved_));
    }
    return QObject::eventFilter(object, event);
  }

 private:
  bool pending_ = false;
  Clock::time_point moved_;
};

// Real pointer motion through the X server, from a thread of its own with its own connection.
void Drag(frmGame& game, int seconds) {
  SilentPlayer silent;
  UseSoundPlayer(&silent);
  DragWatch watch;
  platform::Backend::Of(game.picUser).widget->installEventFilter(&watch);
  platform::Backend::Of(game).widget->installEventFilter(&watch);
  const QPoint centre = platform::Backend::Of(game.picUser).widget->mapToGlobal(QPoint(20, 20));
  std::atomic<bool> done = false;
  std::thread pointer([&] {
    FakePointer fake;
    fake.MoveTo(centre.x(), centre.y());
    fake.Press(1);
    for (int n = 0; !done; ++n) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      fake.MoveTo(centre.x() + (n % 2 ? 4 : 0), centre.y());
    }
    fake.Release(1);
  });
  RunFor(seconds);
  done = true;
  pointer.join();
  RunFor(1);
  std::printf("drags=%zu drag_p50_ms=%.2f drag_p99_ms=%.2f\n", watch.latencies.size(),
              Percentile(watch.latencies, 50), Percentile(watch.latencies, 99));
}

// PlayResSound("ALARM") on the real player: time until the device takes the first samples, and
// how long the call blocks against the sound's own 0.300 s.
void Sound(int rounds) {
  platform::SdlSoundPlayer player;
  UseSoundPlayer(&player);
  PlayResSound(u"ALARM");  // opens the device, as the first hit of a game does
  std::vector<double> latencies;
  std::vector<double> ratios;
  for (int round = 0; round < rounds; ++round) {
    std::atomic<bool> started = false;
    std::atomic<double> latency = 0;
    const auto call = Clock::now();
    std::thread watch([&] {
      Uint32 peak = 0;
      while (Clock::now() - call < std::chrono::seconds(2)) {
        const Uint32 queued = SDL_GetQueuedAudioSize(player.Device());
        if (queued > peak) {
          peak = queued;
        } else if (peak > 0 && queued < peak) {
          latency = Ms(Clock::now() - call);
          started = true;
          return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
      }
    });
    PlayResSound(u"ALARM");
    const double blocked = Ms(Clock::now() - call);
    watch.join();
    if (started) {
      latencies.push_back(latency);
    }
    ratios.push_back(blocked / 300.0);
  }
  std::printf("sound_latency_p50_ms=%.1f sound_block_ratio_p50=%.3f\n", Percentile(latencies, 50),
              Percentile(ratios, 50));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: game_probe ticks|drag|sound [SECONDS]\n");
    return 2;
  }
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  platform::Runtime runtime(argc, argv);
  if (std::strcmp(argv[1], "sound") == 0) {
    Sound(seconds);
    return 0;
  }
  frmGame game;
  game.Show();
  RunFor(1);
  if (std::strcmp(argv[1], "ticks") == 0) {
    Ticks(game, seconds);
  } else {
    Drag(game, seconds);
  }
  return 0;
}
