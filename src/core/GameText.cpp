#include "GameText.h"

#include <cstring>

namespace sw {

std::string StorableGameText(std::string latin1) {
    for (char& c : latin1) {
        if (c != '\0' && EncodeGameChar(c) == 0) {
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
        if (lead >= 0xF0 && lead < 0xF8) {
            length = 4;
            code = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0x80) {
            out.push_back('?');  // stray continuation byte
            ++i;
            continue;
        }
        bool wellFormed = i + length <= utf8.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!wellFormed) {
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
        i += length;
    }
    return out;
}

}  // namespace sw
