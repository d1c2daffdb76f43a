// SPDX-License-Identifier: GPL-3.0-or-later
// The real SDL player. Each suite runs in its own process with its own SDL_AUDIODRIVER:
// "disk" writes exactly what was played to a file, a missing driver means no device at all.
#include "platform/SdlSoundPlayer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>
#include <vector>

#include "../SilentServer.h"
#include "WaveAnalysis.h"
#include "platform/App.h"
#include "sound/Sound.h"

namespace {

std::vector<double> Played(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  return wave::Samples16(bytes);
}

// Indices of the first and one past the last sample that is not silence.
std::pair<std::size_t, std::size_t> Sounding(const std::vector<double>& samples, std::size_t from) {
  std::size_t first = from;
  while (first < samples.size() && samples[first] == 0) {
    ++first;
  }
  std::size_t last = first;
  std::size_t quiet = 0;
  for (std::size_t i = first; i < samples.size() && quiet < 200; ++i) {
    quiet = samples[i] == 0 ? quiet + 1 : 0;
    if (samples[i] != 0) {
      last = i + 1;
    }
  }
  return {first, last};
}

class SdlDisk : public testing::Test {
 protected:
  void SetUp() override {
    file_ = std::filesystem::temp_directory_path() /
            ("wirbelbox-disk-" + std::to_string(::getpid()) + ".raw");
    ::setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    player_ = std::make_unique<platform::SdlSoundPlayer>();
    previous_ = &UseSoundPlayer(*player_);
  }
  void TearDown() override {
    UseSoundPlayer(*previous_);
    player_.reset();
    std::filesystem::remove(file_);
  }

  std::filesystem::path file_;
  std::unique_ptr<platform::SdlSoundPlayer> player_;
  platform::SoundPlayer* previous_ = nullptr;
};

TEST_F(SdlDisk, AlarmPlaysAnEightyEightyHertzToneToItsEndBeforeReturning) {
  PlayResSound(u"ALARM");
  const auto samples = Played(file_);  // read before anything else can be written
  const auto [first, last] = Sounding(samples, 0);
  ASSERT_LT(first, samples.size());
  const std::span tone(samples.data() + first, last - first);
  EXPECT_NEAR(static_cast<double>(tone.size()), 0.3 * 44100, 60);
  EXPECT_EQ(wave::StrongestFrequency(tone, 44100, 800, 960, 1), 880);
  EXPECT_TRUE(player_->DeviceOpen());
}

TEST_F(SdlDisk, ConsecutiveSoundsFollowEachOtherAndNeverMix) {
  PlayResSound(u"ALARM");
  PlayResSound(u"BUZZ");
  PlayResSound(u"NOTHING");
  const auto samples = Played(file_);
  const auto [alarmStart, alarmEnd] = Sounding(samples, 0);
  const auto [buzzStart, buzzEnd] = Sounding(samples, alarmEnd);
  ASSERT_LT(buzzStart, samples.size());
  EXPECT_GE(buzzStart, alarmEnd);
  EXPECT_NEAR(static_cast<double>(alarmEnd - alarmStart), 0.3 * 44100, 60);
  EXPECT_NEAR(static_cast<double>(buzzEnd - buzzStart), 6666 * 2, 60);
  const std::span buzz(samples.data() + buzzStart, buzzEnd - buzzStart);
  EXPECT_NEAR(static_cast<double>(wave::Period(buzz, 700, 1000)), 838, 4);
  EXPECT_LT(wave::PowerAt(buzz, 44100, 880), wave::PowerAt(buzz, 44100, 2000));
  // Nothing after the buzz: the missing name played nothing.
  EXPECT_EQ(Sounding(samples, buzzEnd).first, samples.size());
}

TEST_F(SdlDisk, CorruptImagesPlayNothing) {
  auto image = platform::App::LoadResData(u"ALARM", u"WAVE");
  std::vector<std::vector<std::uint8_t>> corrupt;
  corrupt.emplace_back(image.begin(), image.begin() + 100);  // cut short
  auto hugeData = image;
  hugeData[4092] = hugeData[4093] = hugeData[4094] = hugeData[4095] = 0xFF;  // data size 4 GiB
  corrupt.push_back(hugeData);
  auto noFormat = image;
  noFormat[12] = 'x';  // no "fmt " chunk
  corrupt.push_back(noFormat);
  auto badRate = image;
  badRate[24] = badRate[25] = badRate[26] = badRate[27] = 0;
  corrupt.push_back(badRate);
  corrupt.emplace_back();
  for (const auto& bytes : corrupt) {
    EXPECT_FALSE(player_->sndPlaySoundA(bytes, 6));
  }
  EXPECT_TRUE(player_->sndPlaySoundA(image, 6));
}

TEST(SdlNoDevice, EveryCallReturnsSilentlyAtOnce) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  platform::SdlSoundPlayer player;
  const auto image = platform::App::LoadResData(u"ALARM", u"WAVE");
  for (int call = 0; call < 3; ++call) {
    EXPECT_FALSE(player.sndPlaySoundA(image, 6));
  }
  EXPECT_FALSE(player.DeviceOpen());
}

}  // namespace

namespace {

TEST(SdlDummy, PlaysBothSoundsThroughARealDevice) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  platform::SdlSoundPlayer player;
  for (const char16_t* name : {u"ALARM", u"BUZZ"}) {
    EXPECT_TRUE(player.sndPlaySoundA(platform::App::LoadResData(name, u"WAVE"), 6));
  }
  EXPECT_TRUE(player.DeviceOpen());
}

}  // namespace

namespace {

TEST(SdlHungServer, ASoundServerThatNeverAnswersLeavesTheGameSilentNotFrozen) {
  const std::string socket =
      std::filesystem::temp_directory_path() / ("wirbelbox-silent-" + std::to_string(::getpid()));
  SilentServer server(socket);
  ::setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
  ::setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
  platform::SdlSoundPlayer player;
  const auto image = platform::App::LoadResData(u"ALARM", u"WAVE");
  // Each call runs on its own thread so that a hang fails this test instead of stalling it.
  for (int call = 0; call < 3; ++call) {
    auto played = std::async(std::launch::async, [&] { return player.sndPlaySoundA(image, 6); });
    ASSERT_EQ(played.wait_for(std::chrono::seconds(30)), std::future_status::ready) << call;
    EXPECT_FALSE(played.get());
  }
}

}  // namespace
