// Finding a flag by its description, the way the Event Flags page's Find walks the list.
#pragma once

#include <string_view>

#include "FlagDescriptions.h"

namespace sw {

// The row (0-1023, flag number row + 1) of the first description that holds `text`, or -1.
// The search starts at the row of the selection mark (row 0 when the mark lies outside the
// list), goes down to the last row and wraps to row 0, looking at every row once. Both sides
// are UTF-8 and compared character for character; without case sensitivity both are folded to
// small letters first (FoldCase). An empty text matches any row.
int FindFlagRow(const DescriptionTable& descriptions, std::string_view text, bool caseSensitive,
                int selectionMark);

}  // namespace sw
