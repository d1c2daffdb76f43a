// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FakeEnvironment.h"

namespace {

using platform::String;

std::string Utf8(const String& text) {
  return platform::ToUtf8(text);
}
String U16(const std::string& text) {
  return platform::FromAnsi(text);
}

class CommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = &Commands::UseEnvironment(fake);
    for (String* global :
         {&Commands::AppPath, &Commands::AppTitle, &Commands::AppExeName, &Commands::IniFile,
          &Commands::WinIniFile, &Commands::WinDir, &Commands::SysDir, &Commands::TempDir,
          &Commands::CmdLine, &Commands::NewLine}) {
      global->clear();
    }
  }
  void TearDown() override { Commands::UseEnvironment(*previous_); }

  FakeEnvironment fake;

 private:
  platform::Environment* previous_ = nullptr;
};

struct BackslashCase {
  std::string input;
  std::string expected;
};

TEST_F(CommandsTest, AddBackslashEndsTheCallersTextInExactlyOneBackslash) {
  const BackslashCase cases[] = {
      {"C:\\Games", "C:\\Games\\"},
      {"C:\\", "C:\\"},
      {"", "\\"},
  };
  for (const auto& c : cases) {
    String text = U16(c.input);
    const String returned = Commands::AddBackslash(text);
    EXPECT_EQ(Utf8(text), c.expected) << c.input;
    EXPECT_EQ(Utf8(returned), c.expected) << c.input;
  }
}

struct FolderCase {
  const char* name;
  std::optional<std::string> FakeEnvironment::*reported;
  std::function<String()> procedure;
};

TEST_F(CommandsTest, FolderProceduresReturnTheFolderEndingInOneBackslash) {
  const FolderCase procedures[] = {
      {"GetWinDir", &FakeEnvironment::windowsDirectory, Commands::GetWinDir},
      {"GetSysDir", &FakeEnvironment::systemDirectory, Commands::GetSysDir},
      {"GetTempDir", &FakeEnvironment::tempPath, Commands::GetTempDir},
  };
  struct Reported {
    std::optional<std::string> folder;
    std::string expected;
  };
  const Reported reports[] = {
      {std::nullopt, "\\"},  // the call reports failure
      {"C:\\WINDOWS", "C:\\WINDOWS\\"},
      {"C:\\TEMP\\", "C:\\TEMP\\"},
  };
  for (const auto& procedure : procedures) {
    for (const auto& report : reports) {
      fake.*procedure.reported = report.folder;
      EXPECT_EQ(Utf8(procedure.procedure()), report.expected) << procedure.name;
      EXPECT_EQ(fake.lastSize, 260U) << procedure.name;
    }
  }
}

TEST_F(CommandsTest, FolderCountBeyondTheBufferKeepsTheWholeBufferAndReadsNoFurther) {
  fake.windowsDirectory = std::string(300, 'W');
  fake.reportedCount = 301;
  EXPECT_EQ(Utf8(Commands::GetWinDir()), std::string(260, 'W') + "\\");
}

struct LongNameCase {
  std::string path;
  std::string expected;
};

TEST_F(CommandsTest, GetLongNameNormalisesLetterCaseWhenTheLongFormIsUnknown) {
  const LongNameCase cases[] = {
      {"C:\\PROGRA~1\\WIRBEL~1.EXE", "C:\\Progra~1\\Wirbel~1.exe"},
      {"D:\\GAMES\\WIRBELBOX.EXE", "D:\\Games\\Wirbelbox.exe"},
      {"c:\\my games\\wirbel-box_v2 (new).exe", "C:\\My Games\\Wirbel-Box_V2 (New).exe"},
      {"x:\\ab)cd.ef", "X:\\Ab)cd.ef"},
      {"q", "Q"},
      {"", ""},
  };
  for (const bool callFails : {false, true}) {
    fake.longPath = std::nullopt;
    fake.longPathThrows = callFails;
    for (const auto& c : cases) {
      EXPECT_EQ(Utf8(Commands::GetLongName(U16(c.path))), c.expected) << c.path;
    }
  }
}

TEST_F(CommandsTest, GetLongNameReturnsTheSystemsLongFormUnchangedUpToTheFirstNul) {
  fake.longPath = std::string("C:\\Program Files\\WIRBELBOX.exe\0junk", 35);
  EXPECT_EQ(Utf8(Commands::GetLongName(u"C:\\PROGRA~1\\WIRBEL~1.EXE")),
            "C:\\Program Files\\WIRBELBOX.exe");
  EXPECT_EQ(fake.lastLongPathInput, "C:\\PROGRA~1\\WIRBEL~1.EXE");

  fake.longPath = std::string(260, 'L');  // no NUL anywhere: the whole buffer
  EXPECT_EQ(Utf8(Commands::GetLongName(u"x")), std::string(260, 'L'));
}

TEST_F(CommandsTest, StartUpFillsEveryGlobalFromTheSystem) {
  fake.longPath = "C:\\Games\\Wirbelbox.exe";
  Commands::InitPaths();
  Commands::InitAppFiles();

  EXPECT_EQ(Utf8(Commands::AppPath), "C:\\Games\\");
  EXPECT_EQ(Utf8(Commands::AppExeName), "Wirbelbox");
  EXPECT_EQ(Utf8(Commands::WinDir), "C:\\WINDOWS\\");
  EXPECT_EQ(Utf8(Commands::SysDir), "C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(Utf8(Commands::TempDir), "C:\\TEMP\\");
  EXPECT_EQ(Utf8(Commands::WinIniFile), "C:\\WINDOWS\\Win.ini");
  EXPECT_EQ(Commands::NewLine, String(u"\r\n"));
  EXPECT_EQ(Utf8(Commands::AppTitle), "Wirbelbox");
  EXPECT_EQ(fake.lastLongPathInput, "C:\\Games\\Wirbelbox.exe");
  EXPECT_EQ(Utf8(Commands::IniFile), "C:\\Games\\Wirbelbox.ini");
  EXPECT_TRUE(Commands::CmdLine.empty());
}

TEST_F(CommandsTest, IniFileReplacesOnlyTheLastThreeCharactersOfTheLongPath) {
  fake.longPath = std::nullopt;  // falls back to case normalisation
  fake.folder = "D:\\SPIELE";
  fake.baseName = "BOX";
  Commands::InitPaths();
  Commands::InitAppFiles();
  EXPECT_EQ(Utf8(Commands::IniFile), "D:\\Spiele\\Box.ini");
}

TEST_F(CommandsTest, AFailingStatementLeavesItsGlobalEmptyAndStartUpGoesOn) {
  fake.windowsDirectoryThrows = true;
  fake.folder = std::nullopt;
  fake.longPath = "ab";  // too short to replace three characters
  Commands::InitPaths();
  Commands::InitAppFiles();

  EXPECT_TRUE(Commands::WinDir.empty());
  EXPECT_EQ(Utf8(Commands::WinIniFile), "Win.ini");
  EXPECT_EQ(Utf8(Commands::AppPath), "\\");  // the folder failed, the backslash still came
  EXPECT_EQ(Utf8(Commands::AppExeName), "Wirbelbox");
  EXPECT_EQ(Utf8(Commands::SysDir), "C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(Commands::NewLine, String(u"\r\n"));
  EXPECT_EQ(Utf8(Commands::AppTitle), "Wirbelbox");
  EXPECT_TRUE(Commands::IniFile.empty());
}

TEST_F(CommandsTest, ALongNameCallThatFailsOutrightFallsBackToCaseNormalisation) {
  fake.longPathThrows = true;
  Commands::InitPaths();
  Commands::InitAppFiles();
  EXPECT_EQ(Utf8(Commands::IniFile), "C:\\Games\\Wirbelbox.ini");
}

}  // namespace
