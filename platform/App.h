// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the application object of the runtime: instance, command line, resources, files.
#pragma once

#include <cstdint>
#include <vector>

#include "Strings.h"

namespace platform::App {

// Is an earlier instance of the game running? Raises Failure when that cannot be found out.
// The first call that answers no keeps this process the running instance until it ends.
bool PrevInstance();

// Ends the process at once; no window event is raised.
[[noreturn]] void End();

// The arguments of the command line, joined by single blanks; empty without arguments.
String Command();

// The folder of the executable (no trailing separator) and its base name.
String Path();
String EXEName();

// The bytes of the resource `name` of type `type` embedded in the program (names are not
// case-sensitive). Raises Failure when there is no such resource.
std::vector<std::uint8_t> LoadResData(const String& name, const String& type);

// Deletes a file; raises Failure when it cannot (an empty name always fails).
void Kill(const String& path);

}  // namespace platform::App

namespace platform::Screen {

// The primary screen's size in twips (logical pixels × 15).
float Width();
float Height();

}  // namespace platform::Screen
