// SPDX-License-Identifier: GPL-3.0-or-later
// Pure pieces: checked arithmetic, the tick schedule and the start-up paths. (The instance lock is
// played end to end: tests/e2e/test_instances.py.)
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "app/Commands.h"
#include "platform/Numeric.h"
#include "platform/OnError.h"
#include "platform/TickSchedule.h"

namespace {

using namespace platform;
using std::chrono::milliseconds;

TEST(Numeric, ConversionsRoundHalvesToEvenAndFailOutOfRange) {
  // value, CLng of it (halves to even)
  for (const auto& [value, expected] :
       {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {2.5001, 3}, {11520 * 0.85, 9792}}) {
    EXPECT_EQ(CLng(value), expected) << value;
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (const double value : {2147483647.5, -2147483649.0, std::nan(""), inf}) {
    EXPECT_THROW(CLng(value), Failure) << value;
    EXPECT_THROW(Sng(value * 1e30), Failure) << value;
  }
  EXPECT_EQ(Sng(460.0 + 2.0 / 3.0 - 61 - 20), 379.666656F);
  EXPECT_EQ(IntDiv(-7, 2), -3);
  EXPECT_THROW(IntDiv(1, 0), Failure);
  EXPECT_THROW(Sub(std::numeric_limits<std::int32_t>::min(), 1), Failure);
}

TEST(OnError, AFailedStatementKeepsItsTargetAndAFailedTestCountsAsTrue) {
  int target = 7;
  Do([&] { target = CLng(1e300); });
  EXPECT_EQ(target, 7);
  EXPECT_TRUE(If([] { return Sng(1e39) < 0; }));
  EXPECT_FALSE(If([] { return Sng(1.0) < 0; }));
}

TEST(TickSchedule, SixtyFourthsOfASecondOnASteadyGridWithOneCatchUpTickAfterALongOne) {
  EXPECT_EQ(TickSchedule::PeriodFor(16), std::chrono::microseconds(31250));
  TickSchedule schedule;
  const auto start = TickSchedule::Clock::time_point{} + milliseconds(1000);
  const auto period = TickSchedule::PeriodFor(1);
  schedule.Start(start, period);
  for (int tick = 0; tick < 64; ++tick) {
    schedule.Handled(schedule.Due() + milliseconds(3));  // every tick handled 3 ms late
  }
  EXPECT_EQ(schedule.Due(), start + milliseconds(1000) + period);

  const auto afterSound = schedule.Due() + milliseconds(300);
  schedule.Handled(afterSound);
  EXPECT_EQ(schedule.Due(), afterSound);  // one tick at once
  schedule.Handled(afterSound + milliseconds(1));
  EXPECT_EQ(schedule.Due(), afterSound + period);  // then the normal pace, no burst
}

// A stand-in for the system's path functions, each giving its answer: a text, nullopt to report
// failure (0), or "!" to fail itself, as a function the system lacks does.
struct FakeEnvironment final : Environment {
  // The program's folder, the Windows and system folders, the temporary folder, a long name.
  std::array<std::optional<std::string>, 5> answers{
      "C:\\Games", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\TEMP\\", std::nullopt};
  std::string longPathInput;

  String AppFolder() override {
    return FromAnsi(answers[0].value_or("!") == "!" ? (Fail(), "") : *answers[0]);
  }
  String AppBaseName() override { return u"Wirbelbox"; }
  std::uint32_t GetWindowsDirectoryA(char* b, std::uint32_t n) override { return Write(1, b, n); }
  std::uint32_t GetSystemDirectoryA(char* b, std::uint32_t n) override { return Write(2, b, n); }
  std::uint32_t GetTempPathA(std::uint32_t n, char* b) override { return Write(3, b, n); }
  std::uint32_t GetLongPathNameA(const char* path, char* b, std::uint32_t n) override {
    longPathInput = path;
    return Write(4, b, n);
  }
  std::uint32_t Write(std::size_t which, char* buffer, std::uint32_t size) const {
    const std::string text = answers[which].value_or("");
    if (answers[which] == "!" || size != 260) {
      Fail();
    }
    text.copy(buffer, std::min<std::size_t>(text.size(), size));
    return static_cast<std::uint32_t>(text.size());
  }
};

class Paths : public testing::Test {
 protected:
  void SetUp() override { previous_ = &Commands::UseEnvironment(fake); }
  void TearDown() override { Commands::UseEnvironment(*previous_); }
  // Start-up from scratch; every global, joined by "|".
  static std::string StartUp() {
    using namespace Commands;
    String* globals[] = {&AppPath, &AppTitle, &AppExeName, &IniFile, &WinIniFile,
                         &WinDir,  &SysDir,   &TempDir,    &NewLine};
    for (String* global : globals) {
      global->clear();
    }
    InitPaths();
    InitAppFiles();
    std::string all;
    for (String* global : globals) {
      all += (all.empty() ? "" : "|") + ToUtf8(*global);
    }
    return all;
  }

  FakeEnvironment fake;
  Environment* previous_ = nullptr;
};

TEST_F(Paths, StartUpFillsEveryGlobalAndAFailingStatementLeavesOnlyItsOwnEmpty) {
  fake.answers[4] = "C:\\Games\\Wirbelbox.exe";
  EXPECT_EQ(StartUp(),
            "C:\\Games\\|Wirbelbox|Wirbelbox|C:\\Games\\Wirbelbox.ini|C:\\WINDOWS\\Win.ini|"
            "C:\\WINDOWS\\|C:\\WINDOWS\\SYSTEM\\|C:\\TEMP\\|\r\n");
  EXPECT_EQ(fake.longPathInput, "C:\\Games\\Wirbelbox.exe");
  // Folders reported as failed (0) come back as a lone backslash; a count beyond the buffer
  // keeps the buffer only; the long form unknown, the case is normalised.
  fake.answers = {"D:\\SPIELE", std::nullopt, std::string(300, 'S'), "/tmp/", std::nullopt};
  EXPECT_EQ(StartUp(), "D:\\SPIELE\\|Wirbelbox|Wirbelbox|D:\\Spiele\\Wirbelbox.ini|\\Win.ini|\\|" +
                           std::string(260, 'S') + "\\|/tmp/\\|\r\n");
  // Failing statements: the folder, the Windows folder, an ini name from a path too short.
  fake.answers = {"!", "!", "C:\\S", "C:\\T\\", "ab"};
  EXPECT_EQ(StartUp(), "\\|Wirbelbox|Wirbelbox||Win.ini||C:\\S\\|C:\\T\\|\r\n");
}

TEST_F(Paths, LongNamesComeFromTheSystemElseTheLetterCaseIsNormalised) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\PROGRA~1\\WIRBEL~1.EXE", "C:\\Progra~1\\Wirbel~1.exe"},
      {"D:\\GAMES\\WIRBELBOX.EXE", "D:\\Games\\Wirbelbox.exe"},
      {"c:\\my games\\wirbel-box_v2 (new).exe", "C:\\My Games\\Wirbel-Box_V2 (New).exe"},
      {"x:\\ab)cd.ef", "X:\\Ab)cd.ef"},
      {"d:\\\u00fcBUNG\\\u00e4\u20ac.EXE", "D:\\\u00dcbung\\\u00c4\u20ac.exe"},  // UTF-8
      {"q", "Q"},
      {"", ""}};
  for (const char* failure : {"", "!"}) {  // reported, or the call itself failed
    fake.answers[4] = failure;
    for (const auto& [path, expected] : cases) {
      EXPECT_EQ(ToUtf8(Commands::GetLongName(FromAnsi(path))), expected) << path;
    }
  }
  fake.answers[4] = std::string("C:\\Program Files\\WIRBELBOX.exe\0junk", 35);
  EXPECT_EQ(ToUtf8(Commands::GetLongName(u"C:\\PROGRA~1\\WIRBEL~1.EXE")),
            "C:\\Program Files\\WIRBELBOX.exe");
  fake.answers[4] = std::string(260, 'L');  // no NUL anywhere: the whole buffer
  EXPECT_EQ(ToUtf8(Commands::GetLongName(u"x")), std::string(260, 'L'));
  String path = u"C:\\Games";
  EXPECT_EQ(Commands::AddBackslash(path), u"C:\\Games\\");
  EXPECT_EQ(path, u"C:\\Games\\");  // the caller's own variable
}

}  // namespace
