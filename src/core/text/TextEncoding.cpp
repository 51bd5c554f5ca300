#include "TextEncoding.h"

#include <cstdint>

namespace sw {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// Windows-1252's bytes 0x80-0x9F; the unassigned ones stand for the C1 control of that number.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// The code point at `i`, moving `i` past it; -1 (and one byte on) for a malformed sequence.
long NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        ++i;
        return -1;
    }
    if (i + length > text.size()) {
        ++i;
        return -1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<std::uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return -1;
    }
    i += length;
    return static_cast<long>(code);
}

// The Windows-1252 byte of a character, or -1 when it has none.
int Windows1252Byte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<int>(code);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == code) {
            return 0x80 + i;
        }
    }
    return -1;
}

char32_t FoldCodePoint(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    // Latin Extended-A pairs a capital with the small letter after it; the middle run is odd.
    if ((c >= 0x100 && c <= 0x137 && c != 0x130 && c % 2 == 0) ||
        (c >= 0x139 && c <= 0x148 && c % 2 == 1) || (c >= 0x14A && c <= 0x177 && c % 2 == 0) ||
        (c >= 0x179 && c <= 0x17E && c % 2 == 1)) {
        return c + 1;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;  // Greek and Cyrillic capitals
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    return c;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (NextCodePoint(bytes, i) < 0) {
            return false;
        }
    }
    return true;
}

std::string DecodeTextFile(std::string_view bytes, TextEncoding& encoding) {
    if (IsValidUtf8(bytes)) {
        const bool bom = bytes.substr(0, 3) == kBom;
        encoding = bom ? TextEncoding::kUtf8WithBom : TextEncoding::kUtf8;
        return std::string(bom ? bytes.substr(3) : bytes);
    }
    encoding = TextEncoding::kWindows1252;
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        AppendUtf8(text, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
    }
    return text;
}

std::string EncodeTextFile(std::string_view utf8, TextEncoding& encoding) {
    if (encoding == TextEncoding::kWindows1252) {
        std::string bytes;
        bytes.reserve(utf8.size());
        std::size_t i = 0;
        while (i < utf8.size()) {
            const long code = NextCodePoint(utf8, i);
            const int byte = code < 0 ? -1 : Windows1252Byte(static_cast<char32_t>(code));
            if (byte < 0) {
                encoding = TextEncoding::kUtf8;  // a typed character needs it
                return std::string(utf8);
            }
            bytes.push_back(static_cast<char>(byte));
        }
        // Bytes that happen to form UTF-8 would read back as other characters ("Ã©" as "é"),
        // so such a text goes out as UTF-8, which reads back as it is.
        if (IsValidUtf8(bytes) && bytes != utf8) {
            encoding = TextEncoding::kUtf8;
            return std::string(utf8);
        }
        return bytes;
    }
    return encoding == TextEncoding::kUtf8WithBom ? kBom + std::string(utf8) : std::string(utf8);
}

std::string FoldCase(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t start = i;
        const long code = NextCodePoint(utf8, i);
        if (code < 0) {
            folded.append(utf8.substr(start, i - start));  // kept as it is
        } else {
            AppendUtf8(folded, FoldCodePoint(static_cast<char32_t>(code)));
        }
    }
    return folded;
}

}  // namespace sw
