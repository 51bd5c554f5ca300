// Text files of our own (the flag descriptions) are UTF-8 when a Linux editor wrote them and
// Windows-1252 when they come from Windows. They are held as UTF-8 in memory and written back
// in the encoding they were read in, unless a character needs UTF-8. Game text is another
// matter: one byte per character (GameText.h).
#pragma once

#include <string>
#include <string_view>

namespace sw {

enum class TextEncoding { kUtf8, kUtf8WithBom, kWindows1252 };

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// A file's bytes as UTF-8 text: UTF-8 when they are valid UTF-8 (a byte-order mark is dropped
// and remembered), otherwise Windows-1252, whose five unassigned bytes become U+0081, U+008D,
// U+008F, U+0090 and U+009D so that every byte comes back unchanged.
std::string DecodeTextFile(std::string_view bytes, TextEncoding& encoding);

// UTF-8 text as a file's bytes in `encoding`. Windows-1252 is kept only while every character
// has a byte there and the bytes do not happen to form UTF-8 (which would read back as other
// characters); otherwise the text is written as UTF-8 and `encoding` says so. So decoding what
// this gives always gives the text back.
std::string EncodeTextFile(std::string_view utf8, TextEncoding& encoding);

// UTF-8 text with the capitals of the Latin, Greek and Cyrillic alphabets made small, so that
// searches ignore case for the letters users type; other characters are kept as they are.
std::string FoldCase(std::string_view utf8);

}  // namespace sw
