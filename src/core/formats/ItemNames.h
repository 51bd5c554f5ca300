// Names of the 256 item codes: the built-in table, and the name records in the game ROM.
#pragma once

#include <array>
#include <string>

#include "Backups.h"
#include "FileIO.h"

namespace sw {

using ItemNameTable = std::array<std::string, 256>;

inline constexpr char kBlankItemName[] = "<blank>";

// Built once, on first use; never changed.
const ItemNameTable& DefaultItemNames();

// The records lie 512 bytes earlier in a ROM without copier header (see RomHeaderBytes).
// Replaces each entry of `names` whose record lies wholly inside the ROM by the name it holds
// ("<blank>" for an empty record); entries whose records lie past the end of a short ROM keep
// their value. False, with `names` untouched, when the file cannot be read (a folder, a FIFO,
// a missing file: the problem says which).
bool ReadRomItemNames(const std::string& romPath, ItemNameTable& names, FileProblem& problem);
bool ReadRomItemNames(const std::string& romPath, ItemNameTable& names);

// Writes one 39-byte record: the first 38 characters of the name, encoded, then 0x30 up to
// the end of the record. False when the file cannot be opened for update (the mode bits
// count), the record lies past its end (the ROM is never grown), another program holds it
// locked, it does not carry the game's title (unless `foreignAccepted`: the user said Yes to
// this very file), or writing fails.
bool WriteRomItemName(const std::string& romPath, int code, const std::string& name,
                      FileProblem& problem, bool foreignAccepted = false);

// Renames an item in the ROM and takes the ROM's names back: the first 38 characters of
// `typed` are written into the record of `code`, after the run's backup of the ROM, then all
// 256 names are read again, so the table shows what the ROM now holds ("<blank>" for an empty
// name). False, with the table and the ROM unchanged and the message for the user, when the
// record cannot be written or no backup could be made.
bool RenameRomItem(const std::string& romPath, int code, const std::string& typed,
                   ItemNameTable& names, BackupKeeper& backups, std::string& message,
                   bool foreignAccepted = false);

// Whether the ROM at the path (one that can be read) is too short for the whole name table.
bool RomEndsBeforeItemTable(const std::string& romPath);

// The item chooser's entry text: name + " [" + code in decimal + "]".
std::string ItemChooserText(const std::string& name, int code);

}  // namespace sw
