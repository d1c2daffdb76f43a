// SPDX-License-Identifier: GPL-3.0-or-later
// The two sounds, PlayResSound and the wave decoder. The Linux player is played end to end, on a
// real sound server (tests/e2e/test_play.py).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "RecordingPlayer.h"
#include "platform/App.h"
#include "platform/OnError.h"
#include "platform/WaveDecoder.h"

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
  // A steady 880 Hz sine at full scale from the first sample to the last, without a fade:
  // s[n-1] + s[n+1] = 2 cos(w) s[n].
  const double k = 2 * std::cos(2 * std::numbers::pi * 880 / 8000);
  for (std::size_t n = 1; n + 1 < alarm.size(); ++n) {
    ASSERT_NEAR(alarm[n - 1] + alarm[n + 1], k * alarm[n], 2) << n;
  }
  EXPECT_NEAR(*std::max_element(alarm.begin(), alarm.end()), 32766, 4);

  const auto buzz = Samples16(Load(u"BUZZ"), 4096);
  EXPECT_EQ(*std::max_element(buzz.begin(), buzz.end()), 32767);
  EXPECT_EQ(*std::min_element(buzz.begin(), buzz.end()), -32768);
}

TEST(PlayResSound, PassesTheWholeImageWithTheMemoryBitAndSkipsWhatCannotPlay) {
  const struct {
    std::optional<double> given;
    std::uint32_t passed = 0;
  } cases[] = {{std::nullopt, 6}, {0, 4}, {1, 5}, {2, 6}, {16, 20}, {4, 4}, {5, 5}, {2.5, 6}};
  for (const auto& c : cases) {
    RecordingPlayer player;
    PlayResSound(u"BUZZ", c.given);
    EXPECT_EQ(player.sounds, std::vector<std::string>{"BUZZ"});
    EXPECT_EQ(player.flags, std::vector<std::uint32_t>{c.passed}) << c.given.value_or(-1);
  }
  RecordingPlayer player;
  for (const char16_t* name : {u"WHISTLE", u"", u"../ICON/WIRBELBOX", u"ICON"}) {
    PlayResSound(name);
  }
  PlayResSound(u"ALARM", 4294967296.0);
  PlayResSound(u"ALARM", -3e9);
  EXPECT_TRUE(player.sounds.empty());
  PlayResSound(u"alarm");  // names are not case-sensitive
  EXPECT_EQ(player.sounds, std::vector<std::string>{"ALARM"});
}

TEST(WaveDecoder, KeepsEachSoundsPitchAndLengthAtTheOutputsRate) {
  EXPECT_TRUE(std::ranges::equal(
      platform::DecodeWave(Load(u"ALARM"), 8000).value_or(std::vector<std::int16_t>{}),
      Samples16(Load(u"ALARM"), 4096)));
  const struct {
    const char16_t* name;
    int rate;
    std::size_t samples;
  } cases[] = {{u"ALARM", 44100, 13230},
               {u"ALARM", 48000, 14400},
               {u"ALARM", 6000, 1800},
               {u"BUZZ", 44100, 13332}};
  for (const auto& c : cases) {
    const auto out = platform::DecodeWave(Load(c.name), c.rate);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->size(), c.samples) << c.rate;
    if (c.name[0] == u'A') {  // an 880 Hz sine at full scale, images of the old rate below -60 dB
      const double k = 2 * std::cos(2 * std::numbers::pi * 880 / c.rate);
      for (std::size_t n = 100; n + 100 < out->size(); ++n) {
        ASSERT_NEAR((*out)[n - 1] + (*out)[n + 1], k * (*out)[n], 40) << c.rate << " " << n;
      }
      EXPECT_NEAR(*std::max_element(out->begin() + 100, out->end() - 100), 32766, 300) << c.rate;
    }
  }
}

TEST(WaveDecoder, DamagedImagesDecodeToSilenceOrBoundedSamples) {
  std::vector<Image> damaged{Image()};
  for (const Image& original : {Load(u"ALARM"), Load(u"BUZZ")}) {
    for (std::size_t size = 1; size < original.size(); size += 97) {  // cut short
      damaged.emplace_back(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size));
    }
    // Every field of the header and of the data chunk's header set to edge values.
    for (std::size_t at = 0; at < 4096; at += at == 44 ? 4044 : 2) {
      for (const std::uint32_t value : {0U, 1U, 0x7FFFU, 0xFFFFU, 0x7FFFFFFFU, 0xFFFFFFFFU}) {
        damaged.push_back(original);
        std::memcpy(&damaged.back()[at], &value, 4);
      }
    }
  }
  std::size_t decoded = 0;
  for (const Image& image : damaged) {
    if (const auto samples = platform::DecodeWave(image, 44100)) {
      ++decoded;
      // 1 kHz 8-bit mono to 44.1 kHz is at most 44.1 samples a byte.
      EXPECT_LE(samples->size(), image.size() * 45);
    }
  }
  EXPECT_GT(decoded, 0U);  // damage where it does not matter leaves a sound to play
  EXPECT_LT(decoded, damaged.size());
  Image noFormat = Load(u"ALARM");
  noFormat[12] = 'x';
  Image hugeData = Load(u"ALARM");
  std::fill_n(hugeData.begin() + 4092, 4, 0xFF);
  for (const Image& bad : {Image(hugeData.begin(), hugeData.begin() + 100), noFormat, hugeData}) {
    EXPECT_FALSE(platform::DecodeWave(bad, 44100).has_value());
  }
}

}  // namespace
