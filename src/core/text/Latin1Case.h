// Lower-casing of game text, which is Latin-1: the ASCII capitals and the accented capitals
// 0xC0-0xDE (but not 0xD7, the multiplication sign) each move down by 0x20.
#pragma once

#include <string>

namespace sw {

inline char LowerLatin1(char c) {
    const auto code = static_cast<unsigned char>(c);
    const bool ascii = code >= 'A' && code <= 'Z';
    const bool accented = code >= 0xC0 && code <= 0xDE && code != 0xD7;
    return ascii || accented ? static_cast<char>(code + 0x20) : c;
}

inline std::string LowerLatin1(std::string text) {
    for (char& c : text) {
        c = LowerLatin1(c);
    }
    return text;
}

}  // namespace sw
