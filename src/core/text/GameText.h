// The game's one-byte text encoding, and the conversions between the single-byte characters
// the editor shows (Latin-1) and UTF-8 for the command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sw {

// File byte to character: 0x00 stays 0x00, every other byte b becomes (b - 0x30) mod 256.
inline char DecodeGameChar(std::uint8_t byte) {
    return byte == 0 ? '\0' : static_cast<char>(static_cast<std::uint8_t>(byte - 0x30));
}

// Character to file byte: 0x00 stays 0x00, every other character c becomes (c + 0x30) mod 256.
inline std::uint8_t EncodeGameChar(char c) {
    const auto code = static_cast<std::uint8_t>(c);
    return code == 0 ? 0 : static_cast<std::uint8_t>(code + 0x30);
}

// Typed text as the game can keep it: character 0xD0 would be stored as byte 0x00, which ends
// a text there, and so would a U+0000 (JSON's "\u0000"); both become "?" like the characters
// that have no single byte at all.
std::string StorableGameText(std::string latin1);

// The characters of a fixed-width text buffer up to its first 0.
std::string TextOf(const char* buffer, std::size_t width);

template <typename Array>
std::string TextOf(const Array& buffer) {
    return TextOf(buffer.data(), buffer.size());
}

// Every byte is one character U+0000-U+00FF.
std::string Latin1ToUtf8(std::string_view latin1);

// Characters above U+00FF become one '?' each, and so does every byte that starts no
// well-formed sequence (overlong forms, surrogates and codes above U+10FFFF are malformed: only
// a 0 byte gives a 0).
std::string Utf8ToLatin1(std::string_view utf8);

// UTF-8 typed on the command line or in JSON as the game can keep it: Utf8ToLatin1, then
// StorableGameText. Every way text comes in from outside the window goes through this.
inline std::string GameTextFromUtf8(std::string_view utf8) {
    return StorableGameText(Utf8ToLatin1(utf8));
}

}  // namespace sw
