// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WaveAnalysis.h"
#include "platform/App.h"
#include "platform/OnError.h"

namespace {

std::vector<std::uint8_t> Load(const char16_t* name) {
  return platform::App::LoadResData(name, u"WAVE");
}

std::string Id(const std::vector<std::uint8_t>& image, std::size_t at) {
  return {image.begin() + static_cast<std::ptrdiff_t>(at),
          image.begin() + static_cast<std::ptrdiff_t>(at + 4)};
}

struct Layout {
  const char16_t* name;
  std::size_t size;
  std::int32_t rate;
  std::int32_t dataSize;
};

TEST(WaveResources, ImagesHaveTheExactRiffLayout) {
  const Layout layouts[] = {{u"ALARM", 8896, 8000, 4800}, {u"BUZZ", 17428, 22050, 13332}};
  for (const auto& l : layouts) {
    const auto image = Load(l.name);
    ASSERT_EQ(image.size(), l.size);
    EXPECT_EQ(Id(image, 0), "RIFF");
    EXPECT_EQ(wave::Le32(image, 4), static_cast<std::int32_t>(l.size - 8));
    EXPECT_EQ(Id(image, 8), "WAVE");
    EXPECT_EQ(Id(image, 12), "fmt ");
    EXPECT_EQ(wave::Le32(image, 16), 16);
    EXPECT_EQ(wave::Le16(image, 20), 1);  // PCM
    EXPECT_EQ(wave::Le16(image, 22), 1);  // mono
    EXPECT_EQ(wave::Le32(image, 24), l.rate);
    EXPECT_EQ(wave::Le32(image, 28), l.rate * 2);
    EXPECT_EQ(wave::Le16(image, 32), 2);
    EXPECT_EQ(wave::Le16(image, 34), 16);
    EXPECT_EQ(Id(image, 36), "PAD ");
    EXPECT_EQ(wave::Le32(image, 40), 4044);
    EXPECT_TRUE(
        std::all_of(image.begin() + 44, image.begin() + 4088, [](auto b) { return b == 0; }));
    EXPECT_EQ(Id(image, 4088), "data");
    EXPECT_EQ(wave::Le32(image, 4092), l.dataSize);
    EXPECT_EQ(4096 + static_cast<std::size_t>(l.dataSize), image.size());
  }
}

TEST(WaveResources, AlarmIsASteady880HzToneAtFullScale) {
  const auto image = Load(u"ALARM");
  const auto samples = wave::Samples16(std::span(image).subspan(4096));
  ASSERT_EQ(samples.size(), 2400U);
  EXPECT_EQ(samples[0], 13950);
  EXPECT_EQ(wave::StrongestFrequency(samples, 8000, 800, 960, 1), 880);
  const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
  EXPECT_NEAR(*high, 32766, 4);
  EXPECT_NEAR(*low, -32766, 4);
  // No fade: the first and the last two periods already reach full scale.
  const auto peak = [](auto from, auto to) {
    return std::abs(
        *std::max_element(from, to, [](double a, double b) { return std::abs(a) < std::abs(b); }));
  };
  EXPECT_GT(peak(samples.begin(), samples.begin() + 18), 32000);
  EXPECT_GT(peak(samples.end() - 18, samples.end()), 32000);
  // A pure tone: nearly all of its power is at 880 Hz.
  EXPECT_NEAR(wave::Rms(samples), 32766 / std::sqrt(2.0), 50);
}

TEST(WaveResources, BuzzIsAHarshFullScaleBuzzAroundTwoKilohertz) {
  const auto image = Load(u"BUZZ");
  const auto samples = wave::Samples16(std::span(image).subspan(4096));
  ASSERT_EQ(samples.size(), 6666U);
  EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 32767);
  EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), -32768);
  EXPECT_NEAR(wave::Rms(samples), 15000, 500);

  // Energy in 25 Hz steps across the whole band.
  double total = 0;
  double inBand = 0;
  for (double f = 25; f < 11025; f += 25) {
    const double power = wave::PowerAt(samples, 22050, f);
    total += power;
    if (f >= 1000 && f <= 3500) {
      inBand += power;
    }
  }
  EXPECT_GT(inBand / total, 0.75);
  EXPECT_NEAR(wave::StrongestFrequency(samples, 22050, 100, 10000, 5), 2000, 150);
  // Further peaks near 1 and 3 kHz stand above the valleys between them.
  const double near1k =
      wave::PowerAt(samples, 22050, wave::StrongestFrequency(samples, 22050, 850, 1150, 5));
  const double near3k =
      wave::PowerAt(samples, 22050, wave::StrongestFrequency(samples, 22050, 2850, 3150, 5));
  const double valley =
      std::max(wave::PowerAt(samples, 22050, 1500), wave::PowerAt(samples, 22050, 2500));
  EXPECT_GT(near1k, 4 * valley);
  EXPECT_GT(near3k, 4 * valley);
  EXPECT_NEAR(static_cast<double>(wave::Period(samples, 300, 600)), 419, 2);
}

TEST(WaveResources, NamesAreFoundWhateverTheirCaseAndUnknownNamesFail) {
  EXPECT_EQ(platform::App::LoadResData(u"alarm", u"wave").size(), 8896U);
  for (const char16_t* name : {u"NOPE", u"", u"../ICON/WIRBELBOX", u"ICON"}) {
    EXPECT_THROW(platform::App::LoadResData(name, u"WAVE"), platform::Failure);
  }
}

}  // namespace
