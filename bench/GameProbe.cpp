// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the running game from inside, on a real X server: tick rate and lateness, the time
// from a pointer motion to the block's repaint, and the alarm's start, end and pacing as the
// sound server plays it.
//
// Usage: game_probe ticks|drag [SECONDS] | game_probe sound [ALARMS [RECORDER_MS]]
// Prints key=value figures on one line.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

#include <pthread.h>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>
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
  while (clock.elapsed() < seconds * 1000LL) {
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

// Times each call of the player it stands in front of: when the tick had painted and asked for
// the sound, and when the call returned.
class TimedPlayer final : public platform::SoundPlayer {
 public:
  explicit TimedPlayer(platform::SoundPlayer& real) : real_(real) {}
  bool sndPlaySoundA(std::span<const std::uint8_t> image, std::uint32_t flags) override {
    calls.push_back(Clock::now());
    const bool played = real_.Play(image, flags);
    returns.push_back(Clock::now());
    return played;
  }
  std::vector<Clock::time_point> calls, returns;

 private:
  platform::SoundPlayer& real_;
};

// What the server's sink plays, recorded from its monitor in fragments of `chunk` samples on a
// thread of its own: each sample stamped with the time it reached the recorder (to within a
// fragment).
class SinkRecorder {
 public:
  static constexpr int kRate = 44100;
  explicit SinkRecorder(int chunk) : chunk_(chunk) {
    const pa_sample_spec spec{PA_SAMPLE_S16NE, kRate, 1};
    const pa_buffer_attr attr{static_cast<std::uint32_t>(-1), 0, 0, 0,
                              static_cast<std::uint32_t>(chunk_ * 2)};
    stream_ = pa_simple_new(nullptr, "probe", PA_STREAM_RECORD, "@DEFAULT_MONITOR@", "probe", &spec,
                            nullptr, &attr, nullptr);
    if (stream_ != nullptr) {
      thread_ = std::thread([this] {
        // Ahead of the machine's other work when it may be (the probe runs beside a load).
        const sched_param realtime{10};
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &realtime);
        pa_simple_flush(stream_, nullptr);  // from now on, each fragment as it is played
        std::vector<std::int16_t> chunk(static_cast<std::size_t>(chunk_));
        while (!done_ && pa_simple_read(stream_, chunk.data(), chunk.size() * 2, nullptr) == 0) {
          const auto last = Clock::now();
          for (int i = 0; i < chunk_; ++i) {
            loud.push_back(std::abs(chunk[static_cast<std::size_t>(i)]) > 1000);
            times.push_back(last -
                            std::chrono::microseconds(1'000'000LL * (chunk_ - 1 - i) / kRate));
          }
        }
      });
    }
  }
  SinkRecorder(const SinkRecorder&) = delete;
  SinkRecorder& operator=(const SinkRecorder&) = delete;
  ~SinkRecorder() { Stop(); }
  void Stop() {
    done_ = true;
    if (thread_.joinable()) {
      thread_.join();
    }
    if (stream_ != nullptr) {
      pa_simple_free(std::exchange(stream_, nullptr));
    }
  }
  std::vector<bool> loud;  // whether each sample sounds (a sine's zero crossings last < 2 ms)
  std::vector<Clock::time_point> times;

 private:
  int chunk_;
  pa_simple* stream_ = nullptr;
  std::atomic<bool> done_ = false;
  std::thread thread_;
};

// The game held at the field's edge, where every tick plays the alarm: for each alarm, from the
// tick's call (its colours painted) to the first sample the server's sink played, and from the
// last sample to the call's return; and how many alarms broke (a silence of 2 ms or more inside
// one) or joined the next (no silence of 2 ms between them).
void Sound(frmGame& game, int rounds, int fragmentMs) {
  platform::PulseSoundPlayer real;
  TimedPlayer timed(real);
  UseSoundPlayer(&timed);
  SinkRecorder recorder(SinkRecorder::kRate * fragmentMs / 1000);
  game.picUser.Move(game.picUser.Left(), game.pbCanvas.Top());
  game.picUser_MouseDown(1, 0, 300, 300);
  while (std::cmp_less(timed.calls.size(), rounds + 1)) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  game.picUser_MouseUp(1, 0, 300, 300);
  RunFor(1);
  recorder.Stop();
  // The sounding runs: [first, last] sample indices, split at 2 ms (88 samples) of silence.
  std::vector<std::pair<std::size_t, std::size_t>> runs;
  std::size_t quiet = 88;
  for (std::size_t i = 0; i < recorder.loud.size(); ++i) {
    if (!recorder.loud[i]) {
      ++quiet;
    } else {
      if (quiet >= 88) {
        runs.emplace_back(i, i);
      }
      runs.back().second = i;
      quiet = 0;
    }
  }
  // Start and overhang together are free of the recorder's own delay, which adds to the one and
  // takes from the other: where a server hands on its monitor late (PipeWire), they bound both.
  std::vector<double> starts, overhangs, both;
  int broken = 0, joined = 0;
  std::size_t run = 0;
  for (std::size_t k = 1; k < timed.calls.size(); ++k) {  // the first opens the connection
    // The calls play one alarm each, one after another: the runs are theirs in turn, once those
    // of the first are passed (they began a whole alarm before the second call; a sample's time
    // is when it reached the recorder, and a sink may play a little ahead).
    while (k == 1 && run < runs.size() &&
           recorder.times[runs[run].first] < timed.calls[k] - std::chrono::milliseconds(150)) {
      ++run;
    }
    if (run == runs.size()) {
      break;
    }
    starts.push_back(Ms(recorder.times[runs[run].first] - timed.calls[k]));
    // An alarm is 0.300 s; a run longer than 0.4 s holds two joined. (Counted in samples: a
    // fragment's time is when it arrived, which a busy machine may delay.)
    joined += runs[run].second - runs[run].first > SinkRecorder::kRate * 4 / 10 ? 1 : 0;
    std::size_t last = run;
    while (last + 1 < runs.size() && recorder.times[runs[last + 1].first] <
                                         timed.returns[k] - std::chrono::milliseconds(10)) {
      ++last;
      ++broken;
    }
    overhangs.push_back(Ms(timed.returns[k] - recorder.times[runs[last].second]));
    both.push_back(starts.back() + overhangs.back());
    run = last + 1;
  }
  std::printf(
      "alarms=%zu broken=%d joined=%d start_p50_ms=%.1f start_max_ms=%.1f "
      "overhang_p50_ms=%.1f overhang_max_ms=%.1f both_max_ms=%.1f\n",
      starts.size(), broken, joined, Percentile(starts, 50), Percentile(starts, 100),
      Percentile(overhangs, 50), Percentile(overhangs, 100), Percentile(both, 100));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: game_probe ticks|drag [SECONDS] | sound [ALARMS [RECORDER_MS]]\n");
    return 2;
  }
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  platform::Runtime runtime(argc, argv);
  frmGame game;
  game.Show();
  RunFor(1);
  if (std::strcmp(argv[1], "sound") == 0) {
    Sound(game, seconds, argc > 3 ? std::atoi(argv[3]) : 1);
  } else if (std::strcmp(argv[1], "ticks") == 0) {
    Ticks(game, seconds);
  } else {
    Drag(game, seconds);
  }
  return 0;
}
