#include "GameText.h"

#include <cstring>

namespace sw {

std::string StorableGameText(std::string latin1) {
    for (char& c : latin1) {
        if (EncodeGameChar(c) == 0 || c == '\0') {
            c = '?';
        }
    }
    return latin1;
}

std::string TextOf(const char* buffer, std::size_t width) {
    const void* end = std::memchr(buffer, 0, width);
    const std::size_t length =
        end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : width;
    return {buffer, length};
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size() * 2);
    for (char c : latin1) {
        const auto code = static_cast<std::uint8_t>(c);
        if (code < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        std::size_t length = 1;
        std::uint32_t code = lead;
        std::uint32_t least = 0;  // below this the sequence is overlong: malformed
        if (lead >= 0xF8) {
            length = 0;  // no lead byte
        } else if (lead >= 0xF0) {
            length = 4, code = lead & 0x07, least = 0x10000;
        } else if (lead >= 0xE0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xC0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if (lead >= 0x80) {
            length = 0;  // stray continuation byte
        }
        bool wellFormed = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (!wellFormed || code < least || surrogate || code > 0x10FFFF) {
            out.push_back('?');  // one per byte that starts no well-formed sequence
            ++i;
            continue;
        }
        out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
        i += length;
    }
    return out;
}

}  // namespace sw
