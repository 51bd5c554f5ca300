// Event-flag numbers as the user sees them, and the description files that say what each flag
// means: "event.<base>.txt" per document in the working directory, "event.txt" by default.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "FileIO.h"
#include "Prompter.h"
#include "TextEncoding.h"

namespace sw {

// Index = flag number 0-1024; slot 0 is never shown, searched or written.
using DescriptionTable = std::array<std::string, 1025>;

// "$" and four upper-case hexadecimal digits for 1-1024: $0001, $00FF, $0400.
std::string FlagNumberText(std::int32_t number);

// Every "$" removed, the rest read as a hexadecimal number the way strtoul does (white space,
// sign, optional 0x; stops at the first non-digit; no digits gives 0; overflow saturates at
// 0xFFFFFFFF), used as a signed 32-bit value.
std::int32_t ParseFlagNumber(std::string_view text);

// A flag number typed on the command line or in JSON: ParseFlagNumber, except that a minus
// sign gives 0 (no flag) where strtoul would wrap "-$FFFFFFFF" round to $0001.
std::int32_t ParseTypedFlagNumber(std::string_view text);

// Where the descriptions in memory came from, as far as writing them back is concerned.
struct DescriptionSource {
    TextEncoding encoding = TextEncoding::kUtf8;  // of the file they were read from
    // The document's own file exists but could not be read: it is never written over, since
    // that would lose what it holds.
    bool ownFileUnreadable = false;
    // The own file's bytes as last read or written here (`ownFileKnown` false when they are
    // not known, `ownFileExists` false when there was none), so that a change made by another
    // program since is noticed before the file is written again.
    bool ownFileKnown = false;
    bool ownFileExists = false;
    std::string ownFileBytes;
    // Flag numbers whose description was edited here and has not reached the file yet.
    std::set<std::size_t> unwritten;
};

// Empties the table and fills it from the document's own file or, when there is none, from
// the default file in the program folder (programDir ends in a separator). The table holds
// UTF-8; a file is read as UTF-8 when it is valid UTF-8, otherwise as Windows-1252. Shows the
// messages for missing files and parse errors, and a message of ours for an own file that
// exists but cannot be read (then the default file is read instead). Every line is read whole.
DescriptionSource LoadDescriptions(DescriptionTable& descriptions, const std::string& baseName,
                                   const std::string& programDir, Prompter& prompter);

// The same from text already in memory (no messages for missing files; used by the reader).
// False when reading stopped at a parse error.
bool ParseDescriptions(std::string_view text, DescriptionTable& descriptions);

// Fills the table from one description file at a path, without any message (the command
// line's reading of a state's descriptions). False, with the table emptied, when the file
// cannot be read; a parse error keeps the lines read before it.
bool ReadDescriptionFile(const std::string& path, DescriptionTable& descriptions,
                         FileProblem& problem);

// Writes the document's own file: two comment lines, then "$NNNN:description" for 1-1024,
// with every line feed, and carriage returns at the end, taken out of the descriptions (in the
// table too, once the file is written), so that reading the file gives the table back. It is
// written in the source's encoding (UTF-8 from then on when a character needs it) and replaced
// whole (FileIO's ReplaceFile: a link's target gets it, its mode stays), so a failure never
// loses the old descriptions. A file that cannot be written (read-only, full disk, vanished
// folder) or could not be read leaves the table and the old file as they were: false after the
// error message, which names the file and the reason.
bool SaveDescriptions(DescriptionTable& descriptions, const std::string& baseName,
                      DescriptionSource& source, Prompter& prompter);

// One description edit, as the Event Flags page makes it: slot `number` (1-1024) becomes
// `text` and the document's own file is written at once (SaveDescriptions' rules). The file is
// read again first: when another program has changed it since it was last read or written
// here, the table is filled from it anew, and only the descriptions edited here that have not
// reached the file yet are put over it, this one included, so that the other program's changes
// are kept. A text equal to the slot's (line feeds aside) is no edit of that slot. A file that
// cannot be read is not written: false after a message naming it and the reason, and the edit
// stays in memory for the next write. The caller shows the whole table anew either way.
bool EditDescription(DescriptionTable& descriptions, std::size_t number, std::string text,
                     const std::string& baseName, DescriptionSource& source, Prompter& prompter);

}  // namespace sw
