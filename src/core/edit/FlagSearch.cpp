#include "FlagSearch.h"

#include <string>

#include "Layout.h"
#include "TextEncoding.h"

namespace sw {

int FindFlagRow(const DescriptionTable& descriptions, std::string_view text, bool caseSensitive,
                int selectionMark) {
    constexpr int rows = layout::kFlagCount;
    const int start = selectionMark >= 0 && selectionMark < rows ? selectionMark : 0;
    const std::string needle = caseSensitive ? std::string(text) : FoldCase(text);
    for (int i = 0; i < rows; ++i) {
        const int row = (start + i) % rows;
        const std::string& description = descriptions[static_cast<std::size_t>(row) + 1];
        const bool found = caseSensitive ? description.find(needle) != std::string::npos
                                         : FoldCase(description).find(needle) != std::string::npos;
        if (found) {
            return row;
        }
    }
    return -1;
}

}  // namespace sw
