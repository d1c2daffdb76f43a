// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/OnError.h"

namespace {

using platform::Failure;

struct RoundCase {
  double value;
  std::int32_t expected;
};

TEST(Numeric, CLngRoundsHalvesToEven) {
  const RoundCase cases[] = {
      {0.5, 0},       {1.5, 2},        {2.5, 2},
      {-0.5, 0},      {-1.5, -2},      {-2.5, -2},
      {2.4999, 2},    {2.5001, 3},     {11520 * 0.85, 9792},
      {10 * 0.85, 8}, {30 * 0.85, 26}, {2147483647.0, 2147483647},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::CLng(c.value), c.expected) << c.value;
  }
}

TEST(Numeric, ConversionsOutOfRangeOrNotANumberFail) {
  for (const double value : {2147483647.5, -2147483649.0, 1e300, std::nan(""),
                             std::numeric_limits<double>::infinity()}) {
    EXPECT_THROW(platform::CLng(value), Failure) << value;
  }
  EXPECT_THROW(platform::CInt(32767.5), Failure);
  EXPECT_EQ(platform::CInt(-32768.4), -32768);
}

TEST(Numeric, SngFailsOnlyWhereSinglePrecisionEnds) {
  EXPECT_EQ(platform::Sng(FLT_MAX), FLT_MAX);
  EXPECT_EQ(platform::Sng(-FLT_MAX), -FLT_MAX);
  EXPECT_EQ(platform::Sng(460.0 + 2.0 / 3.0 - 61 - 20), 379.666656F);
  for (const double value : {1e39, -1e39, static_cast<double>(FLT_MAX) * 1.0000001, std::nan(""),
                             std::numeric_limits<double>::infinity()}) {
    EXPECT_THROW(platform::Sng(value), Failure) << value;
  }
}

TEST(Numeric, IntegerDivisionTruncatesTowardZeroAndSubtractionChecksOverflow) {
  EXPECT_EQ(platform::IntDiv(4001, 2), 2000);
  EXPECT_EQ(platform::IntDiv(-7, 2), -3);
  EXPECT_THROW(platform::IntDiv(1, 0), Failure);
  EXPECT_THROW(platform::IntDiv(std::numeric_limits<std::int32_t>::min(), -1), Failure);
  EXPECT_EQ(platform::Sub(4896, 4500), 396);
  EXPECT_THROW(platform::Sub(std::numeric_limits<std::int32_t>::min(), 1), Failure);
}

TEST(OnError, AFailedStatementIsAbandonedAndItsTargetKeepsItsValue) {
  int target = 7;
  int after = 0;
  platform::Do([&] { target = platform::CLng(1e300); });
  platform::Do([&] { after = 1; });
  EXPECT_EQ(target, 7);
  EXPECT_EQ(after, 1);
}

TEST(OnError, ATestThatFailsCountsAsTrue) {
  EXPECT_TRUE(platform::If([] { return platform::Sng(1e39) < 0; }));
  EXPECT_FALSE(platform::If([] { return platform::Sng(1.0) < 0; }));
}

}  // namespace
