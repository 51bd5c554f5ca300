// Event-flag numbers as the user sees them, and the description files that say what each flag
// means: "event.<base>.txt" per document in the working directory, "event.txt" by default.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "Prompter.h"

namespace sw {

// Index = flag number 0-1024; slot 0 is never shown, searched or written.
using DescriptionTable = std::array<std::string, 1025>;

// "$" and four upper-case hexadecimal digits for 1-1024: $0001, $00FF, $0400.
std::string FlagNumberText(std::int32_t number);

// Every "$" removed, the rest read as a hexadecimal number the way strtoul does (white space,
// sign, optional 0x; stops at the first non-digit; no digits gives 0; overflow saturates at
// 0xFFFFFFFF), used as a signed 32-bit value.
std::int32_t ParseFlagNumber(std::string_view text);

// Empties the table and fills it from the document's own file or, failing that, from the
// default file in the program folder (programDir ends in a separator). Shows the messages for
// missing files and parse errors. Every line is read whole, however long.
void LoadDescriptions(DescriptionTable& descriptions, const std::string& baseName,
                      const std::string& programDir, Prompter& prompter);

// The same from text already in memory (no messages for missing files; used by the reader).
// False when reading stopped at a parse error.
bool ParseDescriptions(std::string_view text, DescriptionTable& descriptions);

// Writes the document's own file: two comment lines, then "$NNNN:description" for 1-1024,
// with every line feed, and carriage returns at the end, taken out of the descriptions (in the
// table too, once the file is written), so that reading the file gives the table back. The file is
// written beside the old one and renamed over it, so a failure never loses the old descriptions. A
// file that cannot be written (read-only, full disk, vanished folder) leaves the table and the old
// file as they were: false after the error message, which names the file and the reason.
bool SaveDescriptions(DescriptionTable& descriptions, const std::string& baseName,
                      Prompter& prompter);

}  // namespace sw
