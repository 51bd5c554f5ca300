// Configuration snapshots (*.swr): the editable record fields in a flat layout of our own.
#pragma once

#include <string>
#include <vector>

#include "GameState.h"
#include "Prompter.h"

namespace sw {

// Writes the 2,259-byte snapshot over the start of the file (created when missing; a longer
// file keeps its tail), never leaving a half-written or empty file. Refused with a message: a
// save state, a game ROM, or the same file as one of `openFiles` (the state and ROM open in
// the editor). On failure shows a message naming the file and the reason, and returns false.
bool WriteConfigFile(const std::string& path, const GameState& state, Prompter& prompter,
                     const std::vector<std::string>& openFiles = {});

enum class ConfigRead { kLoaded, kCannotOpen, kTooShort };

// Reads a snapshot into the state. A file that cannot be read (missing, a folder, a FIFO, no
// permission), is a save state or a ROM, or is too short to hold the fields gets a message
// that says which; either way the state is left as it was.
ConfigRead ReadConfigFile(const std::string& path, GameState& state, Prompter& prompter);

}  // namespace sw
