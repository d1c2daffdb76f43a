// SPDX-License-Identifier: GPL-3.0-or-later
// A bounded random corpus of damaged sound images: each decodes to silence or to a bounded
// number of samples, never to a crash or a huge allocation (run it under ASan + UBSan too).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/App.h"
#include "platform/WaveDecoder.h"

namespace {

using Image = std::vector<std::uint8_t>;

void Put32(Image& image, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4 && at + static_cast<std::size_t>(i) < image.size(); ++i) {
    image[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

// One damage of several kinds, chosen and placed by the generator.
Image Damaged(const Image& original, std::mt19937& random) {
  Image image = original;
  std::uniform_int_distribution<std::size_t> anywhere(0, image.size() - 1);
  std::uniform_int_distribution<std::uint32_t> any32;
  // The header fields that decide sizes and formats.
  constexpr std::size_t kFields[] = {4, 16, 20, 22, 24, 28, 32, 34, 40, 4092};
  switch (random() % 6) {
    case 0:  // a few flipped bytes
      for (int n = 1 + static_cast<int>(random() % 8); n > 0; --n) {
        image[anywhere(random)] ^= static_cast<std::uint8_t>(1 + random() % 255);
      }
      break;
    case 1:  // cut short
      image.resize(anywhere(random));
      break;
    case 2:  // a size or format field set to anything
      Put32(image, kFields[random() % std::size(kFields)], any32(random));
      break;
    case 3:  // a field set to an edge value
      Put32(image, kFields[random() % std::size(kFields)],
            std::vector<std::uint32_t>{0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF}[random() % 5]);
      break;
    case 4:  // garbage appended
      for (int n = static_cast<int>(random() % 64); n > 0; --n) {
        image.push_back(static_cast<std::uint8_t>(random()));
      }
      break;
    default:  // a chunk identifier damaged
      image[std::vector<std::size_t>{0, 8, 12, 36, 4088}[random() % 5] + random() % 4] ^= 0x20;
      break;
  }
  return image;
}

TEST(WaveFuzz, DamagedImagesDecodeToSilenceOrBoundedSamples) {
  platform::ConfigureSdlAudio();
  const std::vector<Image> originals = {platform::App::LoadResData(u"ALARM", u"WAVE"),
                                        platform::App::LoadResData(u"BUZZ", u"WAVE")};
  std::mt19937 random(20261206);  // fixed: the same corpus on every run
  const platform::OutputFormat output;
  int decoded = 0;
  int silent = 0;
  for (int round = 0; round < 100'000; ++round) {
    const Image& original = originals[static_cast<std::size_t>(round) % originals.size()];
    const Image image = Damaged(original, random);
    const auto samples = platform::DecodeWave(image, output);
    if (samples) {
      ++decoded;
      // At most 192x: 1 kHz 8-bit mono up to 44.1 kHz 16-bit stereo would be 176x.
      ASSERT_LE(samples->size(), image.size() * 192) << "round " << round;
    } else {
      ++silent;
    }
  }
  EXPECT_GT(decoded, 0);
  EXPECT_GT(silent, 0);
  for (const Image& original : originals) {
    EXPECT_TRUE(platform::DecodeWave(original, output).has_value());
  }
}

}  // namespace
