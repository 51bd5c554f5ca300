// Recognising a save state and the ROM image beside it, and writing a save into the state.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "Backups.h"
#include "GameState.h"
#include "Prompter.h"

namespace sw {

// True when the file opens for reading and writing, starts with "ZSNES Save State" and is long
// enough to hold every game field; otherwise one message and false. The open-failure message
// goes on with the file and the real reason (a folder, a FIFO, a read-only mode...).
bool ValidateStateFile(const std::string& path, Prompter& prompter);

// The whole content of a save state that is only read (a state compared with another needs
// no write permission), and whether bytes are one: the header and every game field. Without
// messages: the problem says what is wrong ("it is not a ZSNES save state", "it is too
// short ...").
bool ReadStateBytes(const std::string& path, std::string& bytes, FileProblem& problem);
bool CheckStateBytes(std::string_view bytes, FileProblem& problem);

// What a file is by its content: a save state (its header, and long enough to hold every
// field) or the game's ROM (its title). kNone, with the reason in the problem, for anything
// else.
enum class FileKind { kNone, kSaveState, kRom };
FileKind KindOfBytes(std::string_view bytes, FileProblem& problem);
// "a save state", "a game ROM", "no file this program knows".
const char* KindName(FileKind kind);

// Just before a write into an open file: it is still the file that was opened (the same
// device and inode, no link put in its place when `opened` is given), still writable by its
// mode, not locked by another program (the lock is then held for the write), and still of
// its kind. False with the problem, which says what changed.
bool ReadyToWrite(std::FILE* file, const std::string& path, FileKind kind,
                  const FileIdentity* opened, WriteLock& lock, FileProblem& problem);

enum RomCheck : int { kRomDeclined = -1, kRomMissing = 0, kRomAccepted = 1 };

// Looks for the ROM of the state: `chosenRom` when the user named one, else the first of
// RomCandidatesFor that can be opened. Accepted (1): it carries the game's title (and, for a
// bsnes state, its SHA-256 without copier header is the one the state names; for a bsnes or
// ares state, its header's battery RAM size is the state's), or the user answered Yes to the
// warning; romPath is set. Missing (0): nothing shown, romPath unchanged;
// anything that is not a readable regular file counts as missing. Declined (-1): the user
// answered No; romPath unchanged. A ROM too short to hold its title does not match.
int CheckRom(const std::string& statePath, std::string& romPath, Prompter& prompter,
             const std::string& chosenRom = {});

// The copier header a ROM's offsets assume: 512 (the layout of Layout.h) unless the title lies
// 512 bytes earlier, in a ROM without one (0).
long RomHeaderBytes(std::FILE* rom);
long RomHeaderBytesOf(std::string_view bytes);

// Whether the file at the path is a ROM carrying the game's title (no question asked).
bool RomTitleMatches(const std::string& romPath);

// Whether the file at the path begins with a save state's header. With RomTitleMatches, this
// tells the files a configuration must never be written over.
bool IsSaveState(const std::string& path);

// A save of the whole record into the open state: checks that the file is still the one
// opened, still long enough and still writable by its mode; makes the run's backup of it; then
// writes every group, stopping at the first that fails. Empty when all was written; otherwise
// the message for the user, which names the file, the reason and what was and was not written.
std::string SaveStateFile(std::FILE* file, const std::string& path, const GameState& state,
                          BackupKeeper& backups, const FileIdentity* opened = nullptr);

}  // namespace sw
