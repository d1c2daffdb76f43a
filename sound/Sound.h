// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: playing the sounds embedded in the program.
#pragma once

#include <optional>

#include "platform/SoundPlayer.h"
#include "platform/Strings.h"

// Plays the "WAVE" resource `ResName`. Without flags it returns when the sound has ended. Never
// fails: a missing resource or an unusable device ends in silence. Flags default to
// SND_NODEFAULT + SND_MEMORY; the memory bit is always added.
void PlayResSound(const platform::String& ResName, std::optional<double> Flags = std::nullopt);

// Replaces the player the sounds go to (tests and measurements record or discard them); nullptr
// goes back to the system's. Returns the replacement before, nullptr for the system's.
platform::SoundPlayer* UseSoundPlayer(platform::SoundPlayer* player);
