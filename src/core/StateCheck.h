// Recognising a save state and the ROM image beside it.
#pragma once

#include <cstdio>
#include <string>

#include "Prompter.h"

namespace sw {

// True when the file opens for reading and writing, starts with "ZSNES Save State" and is long
// enough to hold every game field; otherwise one message and false.
bool ValidateStateFile(const std::string& path, Prompter& prompter);

enum RomCheck : int { kRomDeclined = -1, kRomMissing = 0, kRomAccepted = 1 };

// Looks for the ROM beside the state. Accepted (1): its title matched, or the user answered
// Yes to the warning; romPath is set. Missing (0): nothing shown, romPath unchanged. Declined
// (-1): the user answered No; romPath unchanged. A ROM too short to hold its title does not
// match.
int CheckRom(const std::string& statePath, std::string& romPath, Prompter& prompter);

// Whether the ROM at the path carries the game's title (no question asked).
bool RomTitleMatches(const std::string& romPath);

// Whether the open state file is still the file at `path` and still long enough for every
// field: a save must not write into a deleted file, nor grow one that was cut short.
bool StateFileStillUsable(std::FILE* file, const std::string& path);

}  // namespace sw
