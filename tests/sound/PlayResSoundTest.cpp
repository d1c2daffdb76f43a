// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/Sound.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../RecordingPlayer.h"

namespace {

TEST(PlayResSound, FlagsAlwaysCarryTheMemoryBit) {
  const struct {
    std::optional<double> given;
    std::uint32_t passed;
  } cases[] = {
      {std::nullopt, 6}, {0, 4}, {1, 5}, {2, 6}, {16, 20}, {4, 4}, {5, 5}, {6, 6}, {2.5, 6},
  };
  for (const auto& c : cases) {
    RecordingPlayer player;
    PlayResSound(u"ALARM", c.given);
    ASSERT_EQ(player.calls.size(), 1U) << c.given.value_or(-1);
    EXPECT_EQ(player.calls[0].flags, c.passed) << c.given.value_or(-1);
    EXPECT_EQ(player.calls[0].sound, "ALARM");
  }
}

TEST(PlayResSound, EachNameReachesThePlayerAsItsWholeImage) {
  RecordingPlayer player;
  PlayResSound(u"BUZZ");
  PlayResSound(u"ALARM");
  EXPECT_EQ(player.Sounds(), (std::vector<std::string>{"BUZZ", "ALARM"}));
}

TEST(PlayResSound, NothingPlaysForAnUnknownNameOrUnusableFlags) {
  RecordingPlayer player;
  PlayResSound(u"WHISTLE");
  PlayResSound(u"");
  PlayResSound(u"ALARM", 4294967296.0);
  PlayResSound(u"ALARM", -3e9);
  EXPECT_TRUE(player.calls.empty());
}

}  // namespace
