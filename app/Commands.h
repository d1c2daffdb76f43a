// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the application-wide environment values, filled once during start-up.
#pragma once

#include "platform/Environment.h"
#include "platform/Strings.h"

// Kept for compatibility with the game's original environment: start-up fills them, nothing
// reads them, and no file is ever opened through any of them.
namespace Commands {

using platform::String;

extern String AppPath;     // folder of the executable, ending in a backslash
extern String AppTitle;    // "Wirbelbox"
extern String AppExeName;  // executable name without folder and extension
extern String IniFile;     // the executable's long path with "ini" for its last three characters
extern String WinIniFile;  // WinDir followed by "Win.ini"
extern String WinDir;      // the Windows folder, ending in a backslash
extern String SysDir;      // the System folder, ending in a backslash
extern String TempDir;     // the temporary folder, ending in a backslash
extern String CmdLine;     // the argument text of the command line
extern String NewLine;     // carriage return, line feed

// Writes AppPath, AppExeName, WinDir, SysDir, TempDir, WinIniFile and NewLine.
void InitPaths();
// Writes AppTitle and IniFile; builds on InitPaths.
void InitAppFiles();

String GetWinDir();
String GetSysDir();
String GetTempDir();
// Makes the caller's text end in a backslash and returns it.
String AddBackslash(String& path);
// The long form of a path; where the system cannot tell it, the path with its letter case
// normalised (capitals after blank, "-", "(", "_" and "\", and at the start).
String GetLongName(String path);

// Replaces the system the procedures ask (tests use a stand-in); returns the previous one.
platform::Environment& UseEnvironment(platform::Environment& environment);

}  // namespace Commands
