// Configuration snapshots (*.swr): the editable record fields in a flat layout of our own.
#pragma once

#include <string>

#include "GameState.h"
#include "Prompter.h"

namespace sw {

// Writes the 2,259-byte snapshot over the start of the file (created when missing; a longer
// file keeps its tail). On failure shows a message and returns false.
bool WriteConfigFile(const std::string& path, const GameState& state, Prompter& prompter);

enum class ConfigRead { kLoaded, kCannotOpen, kTooShort };

// Reads a snapshot into the state. A file that cannot be opened is passed over silently; one
// too short to hold the fields gets a message. Either way the state is left as it was.
ConfigRead ReadConfigFile(const std::string& path, GameState& state, Prompter& prompter);

}  // namespace sw
