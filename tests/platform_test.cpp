// SPDX-License-Identifier: GPL-3.0-or-later
// Pure pieces: checked arithmetic, the tick schedule, the instance lock and the start-up paths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "app/Commands.h"
#include "platform/Numeric.h"
#include "platform/OnError.h"
#include "platform/TickSchedule.h"
#include "platform/qt/InstanceLock.h"

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

TEST(InstanceLock, OneHolderAtATimeReleasedWithItsHolder) {
  std::string folder = std::filesystem::temp_directory_path() / "wirbelbox-lock-XXXXXX";
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string path = folder + "/wirbelbox.lock";
  auto first = std::make_unique<InstanceLock>(path);
  InstanceLock second(path);
  EXPECT_TRUE(first->Acquire());
  EXPECT_FALSE(second.Acquire());
  first.reset();
  EXPECT_TRUE(second.Acquire());

  EXPECT_THROW(InstanceLock(folder + "/missing/wirbelbox.lock").Acquire(), Failure);
  std::filesystem::remove_all(folder);
}

// A stand-in for the system's path functions: each reports its text; nullopt makes it report
// failure (0), and "!" makes the call itself fail, as a function the system lacks does.
struct FakeEnvironment final : Environment {
  std::optional<std::string> folder = "C:\\Games", windows = "C:\\WINDOWS",
                             system = "C:\\WINDOWS\\SYSTEM", temp = "C:\\TEMP\\", longPath;
  std::string longPathInput;

  using Text = std::optional<std::string>;
  void Report(Text folder_, Text windows_, Text system_, Text temp_, Text longPath_) {
    folder = folder_, windows = windows_, system = system_, temp = temp_, longPath = longPath_;
  }

  String AppFolder() override {
    return FromAnsi(folder.value_or("!") == "!" ? (Fail(), "") : *folder);
  }
  String AppBaseName() override { return u"Wirbelbox"; }
  std::uint32_t GetWindowsDirectoryA(char* b, std::uint32_t n) override {
    return Write(windows, b, n);
  }
  std::uint32_t GetSystemDirectoryA(char* b, std::uint32_t n) override {
    return Write(system, b, n);
  }
  std::uint32_t GetTempPathA(std::uint32_t n, char* b) override { return Write(temp, b, n); }
  std::uint32_t GetLongPathNameA(const char* path, char* b, std::uint32_t n) override {
    longPathInput = path;
    return Write(longPath, b, n);
  }
  static std::uint32_t Write(const std::optional<std::string>& text, char* buffer,
                             std::uint32_t size) {
    if (text == "!" || size != 260) {
      Fail();
    }
    std::memcpy(buffer, text.value_or("").data(),
                std::min<std::size_t>(text.value_or("").size(), size));
    return static_cast<std::uint32_t>(text.value_or("").size());
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
  fake.longPath = "C:\\Games\\Wirbelbox.exe";
  EXPECT_EQ(StartUp(),
            "C:\\Games\\|Wirbelbox|Wirbelbox|C:\\Games\\Wirbelbox.ini|C:\\WINDOWS\\Win.ini|"
            "C:\\WINDOWS\\|C:\\WINDOWS\\SYSTEM\\|C:\\TEMP\\|\r\n");
  EXPECT_EQ(fake.longPathInput, "C:\\Games\\Wirbelbox.exe");
  // Folders reported as failed (0) come back as a lone backslash; a count beyond the buffer
  // keeps the buffer only; the long form unknown, the case is normalised.
  fake.Report("D:\\SPIELE", std::nullopt, std::string(300, 'S'), "/tmp/", std::nullopt);
  EXPECT_EQ(StartUp(), "D:\\SPIELE\\|Wirbelbox|Wirbelbox|D:\\Spiele\\Wirbelbox.ini|\\Win.ini|\\|" +
                           std::string(260, 'S') + "\\|/tmp/\\|\r\n");
  // Failing statements: the folder, the Windows folder, an ini name from a path too short.
  fake.Report("!", "!", "C:\\S", "C:\\T\\", "ab");
  EXPECT_EQ(StartUp(), "\\|Wirbelbox|Wirbelbox||Win.ini||C:\\S\\|C:\\T\\|\r\n");
}

TEST_F(Paths, LongNamesComeFromTheSystemElseTheLetterCaseIsNormalised) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\PROGRA~1\\WIRBEL~1.EXE", "C:\\Progra~1\\Wirbel~1.exe"},
      {"D:\\GAMES\\WIRBELBOX.EXE", "D:\\Games\\Wirbelbox.exe"},
      {"c:\\my games\\wirbel-box_v2 (new).exe", "C:\\My Games\\Wirbel-Box_V2 (New).exe"},
      {"x:\\ab)cd.ef", "X:\\Ab)cd.ef"},
      {"q", "Q"},
      {"", ""}};
  for (const char* failure : {"", "!"}) {  // reported, or the call itself failed
    fake.longPath = failure;
    for (const auto& [path, expected] : cases) {
      EXPECT_EQ(ToUtf8(Commands::GetLongName(FromAnsi(path))), expected) << path;
    }
  }
  fake.longPath = std::string("C:\\Program Files\\WIRBELBOX.exe\0junk", 35);
  EXPECT_EQ(ToUtf8(Commands::GetLongName(u"C:\\PROGRA~1\\WIRBEL~1.EXE")),
            "C:\\Program Files\\WIRBELBOX.exe");
  fake.longPath = std::string(260, 'L');  // no NUL anywhere: the whole buffer
  EXPECT_EQ(ToUtf8(Commands::GetLongName(u"x")), std::string(260, 'L'));
  String path = u"C:\\Games";
  EXPECT_EQ(Commands::AddBackslash(path), u"C:\\Games\\");
  EXPECT_EQ(path, u"C:\\Games\\");  // the caller's own variable
}

TEST(NativeEnvironment, ReportsNoWindowsFolderTheUsersTempFolderAndTheSizeNeeded) {
  Environment& system = NativeEnvironment();
  std::string buffer(260, '\0');
  EXPECT_EQ(system.GetWindowsDirectoryA(buffer.data(), 260), 0U);
  const auto n = system.GetTempPathA(260, buffer.data());
  EXPECT_EQ(buffer.substr(n - 1, 2), std::string("/\0", 2));
  EXPECT_EQ(system.GetLongPathNameA("/no/such/file.exe", buffer.data(), 260), 0U);
  std::string small(4, 'x');  // too small: the size needed, the buffer untouched
  EXPECT_EQ(system.GetLongPathNameA("/proc/self/exe", small.data(), 4), 15U);
  EXPECT_EQ(small, "xxxx");
  EXPECT_EQ(ToUtf8(system.AppBaseName()), "unit_tests");
  EXPECT_EQ(BaseName("/home/me/.wirbel.box", "/"), ".wirbel");
}

}  // namespace
