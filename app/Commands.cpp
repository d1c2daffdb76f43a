// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include <cstdint>
#include <string>

#include "platform/OnError.h"

namespace Commands {

using platform::Do;

String AppPath;
String AppTitle;
String AppExeName;
String IniFile;
String WinIniFile;
String WinDir;
String SysDir;
String TempDir;
String CmdLine;
String NewLine;

namespace {

constexpr std::uint32_t kMaxPath = 260;

platform::Environment* environment = &platform::NativeEnvironment();

bool EndsInBackslash(const String& text) {
  return !text.empty() && text.back() == u'\\';
}

// What a folder function left in its buffer: its first `n` bytes (all of them when `n` exceeds
// the buffer), ending in a backslash. Cutting before converting keeps multi-byte text whole.
String FolderFromBuffer(const std::string& buffer, std::uint32_t n) {
  String folder = platform::FromAnsi(std::string_view(buffer).substr(0, n));
  if (!EndsInBackslash(folder)) {
    folder += u'\\';
  }
  return folder;
}

}  // namespace

platform::Environment& UseEnvironment(platform::Environment& replacement) {
  platform::Environment& previous = *environment;
  environment = &replacement;
  return previous;
}

void InitPaths() {
  Do([] { AppPath = environment->AppFolder(); });
  Do([] { AddBackslash(AppPath); });
  Do([] { AppExeName = environment->AppBaseName(); });
  Do([] { WinDir = GetWinDir(); });
  Do([] { SysDir = GetSysDir(); });
  Do([] { TempDir = GetTempDir(); });
  Do([] { WinIniFile = WinDir + u"Win.ini"; });
  Do([] { NewLine = String{u'\r', u'\n'}; });
}

void InitAppFiles() {
  String longPath;
  Do([] { AppTitle = u"Wirbelbox"; });
  Do([&] { longPath = GetLongName(AppPath + AppExeName + u".exe"); });
  Do([&] {
    IniFile = platform::Left(longPath, static_cast<std::int32_t>(longPath.size()) - 3) + u"ini";
  });
}

String GetWinDir() {
  std::string buffer(kMaxPath, '\0');
  const std::uint32_t n = environment->GetWindowsDirectoryA(buffer.data(), kMaxPath);
  return FolderFromBuffer(buffer, n);
}

String GetSysDir() {
  std::string buffer(kMaxPath, '\0');
  const std::uint32_t n = environment->GetSystemDirectoryA(buffer.data(), kMaxPath);
  return FolderFromBuffer(buffer, n);
}

String GetTempDir() {
  std::string buffer(kMaxPath, '\0');
  const std::uint32_t n = environment->GetTempPathA(kMaxPath, buffer.data());
  return FolderFromBuffer(buffer, n);
}

String AddBackslash(String& path) {
  if (!EndsInBackslash(path)) {
    path += u'\\';
  }
  return path;
}

String GetLongName(String path) {
  std::string buffer(kMaxPath, '\0');
  std::uint32_t r = 0;
  Do([&] {
    r = environment->GetLongPathNameA(platform::ToAnsi(path).c_str(), buffer.data(), kMaxPath);
  });
  if (r != 0) {
    return platform::FromAnsi(buffer.substr(0, buffer.find('\0')));
  }
  const std::size_t length = path.size();
  for (std::size_t i = 1; i < length; ++i) {
    switch (path[i - 1]) {
      case u' ':
      case u'-':
      case u'(':
      case u'_':
      case u'\\':
        path[i] = platform::UCase(path[i]);
        break;
      default:
        path[i] = platform::LCase(path[i]);
    }
  }
  if (!path.empty()) {
    path[0] = platform::UCase(path[0]);
  }
  return path;
}

}  // namespace Commands
