// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/App.h"
#include "platform/Runtime.h"

namespace {

std::string CommandFor(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  int argc = static_cast<int>(arguments.size());
  platform::Runtime runtime(argc, argv.data());
  return platform::ToUtf8(platform::App::Command());
}

TEST(CommandLine, TheArgumentTextIsTheArgumentsJoinedBySingleBlanks) {
  const struct {
    std::vector<std::string> arguments;
    std::string text;
  } cases[] = {
      {{"wirbelbox"}, ""},
      {{"wirbelbox", "--help"}, "--help"},
      {{"wirbelbox", "a b", "\"quoted\"", "", "c"}, "a b \"quoted\"  c"},
      {{"wirbelbox", "\xff\xfe"}, "\xef\xbf\xbd\xef\xbf\xbd"},  // kept, as replacement characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandFor(c.arguments), c.text);
  }
}

TEST(CommandLine, AVeryLongArgumentIsKeptWhole) {
  const std::string longArgument(100'000, 'x');
  EXPECT_EQ(CommandFor({"wirbelbox", longArgument}), longArgument);
}

}  // namespace
