#include "FlagSearch.h"

#include <algorithm>
#include <string>

#include "Layout.h"

namespace sw {
namespace {

std::string Folded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldLatin1);
    return folded;
}

}  // namespace

char FoldLatin1(char c) {
    const auto byte = static_cast<unsigned char>(c);
    const bool capital =
        (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7);
    return capital ? static_cast<char>(byte + 0x20) : c;
}

int FindFlagRow(const DescriptionTable& descriptions, std::string_view text, bool caseSensitive,
                int selectionMark) {
    constexpr int rows = layout::kFlagCount;
    const int start = selectionMark >= 0 && selectionMark < rows ? selectionMark : 0;
    const std::string needle = caseSensitive ? std::string(text) : Folded(text);
    for (int i = 0; i < rows; ++i) {
        const int row = (start + i) % rows;
        const std::string& description = descriptions[static_cast<std::size_t>(row) + 1];
        const bool found = caseSensitive ? description.find(needle) != std::string::npos
                                         : Folded(description).find(needle) != std::string::npos;
        if (found) {
            return row;
        }
    }
    return -1;
}

}  // namespace sw
