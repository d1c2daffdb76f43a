// SPDX-License-Identifier: GPL-3.0-or-later
// The two sounds, PlayResSound, the wave decoder and the SDL player (in a process of its own,
// since SDL keeps its audio driver for the life of the process). The game without a sound
// device or beside a server that never answers is played end to end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>

#include "RecordingPlayer.h"
#include "platform/App.h"
#include "platform/OnError.h"
#include "platform/qt/QtSound.h"
#include "platform/qt/WaveDecoder.h"

namespace {

using Image = std::vector<std::uint8_t>;

Image Load(const char16_t* name) {
  return platform::App::LoadResData(name, u"WAVE");
}

std::uint32_t Le(const Image& image, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = value << 8 | image[at + static_cast<std::size_t>(i)];
  }
  return value;
}

std::vector<double> Samples16(const Image& bytes, std::size_t from) {
  std::vector<double> samples;
  for (std::size_t at = from; at + 1 < bytes.size(); at += 2) {
    samples.push_back(static_cast<std::int16_t>(Le(bytes, at, 2)));
  }
  return samples;
}

// Power at one frequency (Goertzel), normalised by the length.
double PowerAt(std::span<const double> samples, double rate, double frequency) {
  const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / rate);
  double s1 = 0;
  double s2 = 0;
  for (const double x : samples) {
    const double s0 = x + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return (s1 * s1 + s2 * s2 - coefficient * s1 * s2) / std::pow(samples.size(), 2);
}

double Strongest(std::span<const double> samples, double rate, double from, double to) {
  double best = from;
  for (double f = from; f <= to; f += 5) {
    best = PowerAt(samples, rate, f) > PowerAt(samples, rate, best) ? f : best;
  }
  return best;
}

TEST(WaveResources, BothImagesAreSixteenBitMonoPcmWithTheirSamplesAtByte4096) {
  const struct {
    const char16_t* name;
    std::uint32_t size, rate, samples;
  } images[] = {{u"ALARM", 8896, 8000, 2400}, {u"BUZZ", 17428, 22050, 6666}};
  for (const auto& i : images) {
    const Image image = Load(i.name);
    ASSERT_EQ(image.size(), i.size);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(image.begin() + 8, image.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le(image, 4, 4), i.size - 8);
    EXPECT_EQ(Le(image, 20, 4), 0x10001U);  // PCM, mono
    EXPECT_EQ(Le(image, 24, 4), i.rate);
    EXPECT_EQ(Le(image, 34, 2), 16U);
    EXPECT_EQ(std::string(image.begin() + 4088, image.begin() + 4092), "data");
    EXPECT_EQ(Le(image, 4092, 4), i.samples * 2);
  }
  const auto alarm = Samples16(Load(u"ALARM"), 4096);
  EXPECT_EQ(alarm[0], 13950);
  EXPECT_EQ(Strongest(alarm, 8000, 800, 960), 880);
  // Full scale in the first two periods and the last two: no fade.
  const auto peak = [](auto from, auto to) {
    return std::abs(
        *std::max_element(from, to, [](double a, double b) { return std::abs(a) < std::abs(b); }));
  };
  EXPECT_GT(peak(alarm.begin(), alarm.begin() + 18), 32000);
  EXPECT_GT(peak(alarm.end() - 18, alarm.end()), 32000);
  EXPECT_NEAR(*std::max_element(alarm.begin(), alarm.end()), 32766, 4);

  const auto buzz = Samples16(Load(u"BUZZ"), 4096);
  EXPECT_EQ(*std::max_element(buzz.begin(), buzz.end()), 32767);
  EXPECT_EQ(*std::min_element(buzz.begin(), buzz.end()), -32768);
  EXPECT_NEAR(Strongest(buzz, 22050, 100, 10000), 2000, 150);
  const double valley = std::max(PowerAt(buzz, 22050, 1500), PowerAt(buzz, 22050, 2500));
  EXPECT_GT(PowerAt(buzz, 22050, Strongest(buzz, 22050, 850, 1150)), 4 * valley);
  EXPECT_GT(PowerAt(buzz, 22050, Strongest(buzz, 22050, 2850, 3150)), 4 * valley);
}

TEST(PlayResSound, PassesTheWholeImageWithTheMemoryBitAndSkipsWhatCannotPlay) {
  const struct {
    std::optional<double> given;
    std::uint32_t passed;
  } cases[] = {{std::nullopt, 6}, {0, 4}, {1, 5}, {2, 6}, {16, 20}, {4, 4}, {5, 5}, {2.5, 6}};
  for (const auto& c : cases) {
    RecordingPlayer player;
    PlayResSound(u"BUZZ", c.given);
    EXPECT_EQ(player.sounds, std::vector<std::string>{"BUZZ"});
    EXPECT_EQ(player.flags, std::vector<std::uint32_t>{c.passed}) << c.given.value_or(-1);
  }
  RecordingPlayer player;
  PlayResSound(u"WHISTLE");
  PlayResSound(u"");
  PlayResSound(u"ALARM", 4294967296.0);
  PlayResSound(u"ALARM", -3e9);
  PlayResSound(u"../ICON/WIRBELBOX");
  PlayResSound(u"ICON");
  EXPECT_TRUE(player.sounds.empty());
  PlayResSound(u"alarm");  // names are not case-sensitive
  EXPECT_EQ(player.sounds, std::vector<std::string>{"ALARM"});
}

// Damages an image: a few flipped bytes, cut short, or a header field set to an edge value.
Image Damaged(Image image, std::mt19937& random) {
  constexpr std::size_t kFields[] = {4, 16, 20, 22, 24, 28, 32, 34, 40, 4088, 4092};
  const std::uint32_t values[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF,
                                  static_cast<std::uint32_t>(random())};
  const std::uint32_t value = values[random() % 5];
  switch (random() % 3) {
    case 0:
      for (auto n = 1 + random() % 8; n > 0; --n) {
        image[random() % image.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
      }
      break;
    case 1:
      image.resize(random() % image.size());
      break;
    default:
      std::memcpy(&image[kFields[random() % std::size(kFields)]], &value, 4);
  }
  return image;
}

TEST(WaveDecoder, DamagedImagesDecodeToSilenceOrBoundedSamples) {
  platform::ConfigureSdlAudio();
  const Image originals[] = {Load(u"ALARM"), Load(u"BUZZ")};
  std::mt19937 random(20261206);  // the same corpus on every run
  int decoded = 0;
  for (int round = 0; round < 100'000; ++round) {
    const Image image = Damaged(originals[static_cast<std::size_t>(round % 2)], random);
    if (const auto samples = platform::DecodeWave(image, {})) {
      ++decoded;
      // 1 kHz 8-bit mono to 44.1 kHz 16-bit stereo is at most 176 times the size.
      ASSERT_LE(samples->size(), image.size() * 192) << "round " << round;
    }
  }
  EXPECT_GT(decoded, 0);
  EXPECT_LT(decoded, 100'000);
  Image noFormat = originals[0];
  noFormat[12] = 'x';
  Image hugeData = originals[0];
  std::fill_n(hugeData.begin() + 4092, 4, 0xFF);
  for (const Image& bad :
       {Image(originals[0].begin(), originals[0].begin() + 100), noFormat, hugeData, Image()}) {
    EXPECT_FALSE(platform::DecodeWave(bad, {}).has_value());
  }
}

TEST(SdlDisk, SoundsPlayToTheirEndBeforeReturningOneAfterTheOther) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("wirbelbox-" + std::to_string(::getpid()));
  ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  platform::SdlSoundPlayer player;
  platform::SoundPlayer* previous = UseSoundPlayer(&player);
  PlayResSound(u"ALARM");
  PlayResSound(u"BUZZ");
  PlayResSound(u"NOTHING");
  UseSoundPlayer(previous);
  std::ifstream in(file, std::ios::binary);
  const auto samples = Samples16(Image(std::istreambuf_iterator<char>(in), {}), 0);
  std::filesystem::remove(file);
  // The alarm, then the buzz, one after the other and never mixed: 0.300 s + 0.302 s in all.
  const auto first = std::find_if(samples.begin(), samples.end(), [](double x) { return x != 0; });
  const auto last = std::find_if(samples.rbegin(), samples.rend(), [](double x) { return x != 0; });
  ASSERT_NE(first, samples.end());
  const auto length = static_cast<std::size_t>(last.base() - first);
  EXPECT_NEAR(static_cast<double>(length), 13230 + 13332, 60 + 0.05 * 44100);
  const std::span alarm(&*first, 13000);
  const std::span buzz(&*(last.base() - 13000), 13000);
  EXPECT_EQ(Strongest(alarm, 44100, 800, 960), 880);
  EXPECT_NEAR(Strongest(buzz, 44100, 100, 10000), 2000, 150);
}

}  // namespace
