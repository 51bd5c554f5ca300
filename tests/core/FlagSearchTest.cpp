// Find's walk through the descriptions: start row, wrap-around, case folding.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "FlagSearch.h"
#include "TextEncoding.h"

namespace sw::test {
namespace {

TEST(FlagSearch, StartsAtTheMarkWrapsAndSkipsSlotZero) {
    DescriptionTable table;
    table[0] = "Lamp in slot zero";  // never searched
    table[3] = "Lamp one\n";
    table[600] = "Lamp two";
    table[1024] = "last";
    // Text, mark, row found. The mark's own row is looked at first; the search wraps, from the
    // last row and from a mark beyond the list too; the line feed is part of the text. The last
    // row is looked at from any mark, the row before the mark last of all. An empty text matches
    // the first row looked at, empty or not.
    const std::tuple<const char*, int, int> cases[] = {
        {"Lamp", -1, 2},    {"Lamp", 2, 2},      {"Lamp", 3, 599},     {"Lamp", 600, 2},
        {"Lamp", 1023, 2},  {"Lamp", 1024, 2},   {"slot zero", 0, -1}, {"one\n", 0, 2},
        {"last", -1, 1023}, {"last", 500, 1023}, {"last", 1023, 1023}, {"one", 3, 2},
        {"", -1, 0},        {"", 1023, 1023}};
    for (const auto& [text, mark, row] : cases) {
        EXPECT_EQ(FindFlagRow(table, text, true, mark), row) << text << " " << mark;
    }
}

TEST(FlagSearch, ComparesRealCharactersAndFoldsCapitalsWithoutCaseSensitivity) {
    DescriptionTable table;
    table[5] = "Paid 3 ? at the inn";                               // a question mark
    table[10] = "Met ABC at the \xC3\x89glise for 3 \xE2\x82\xAC";  // É, €
    table[20] = "\xCE\xA9MEGA gate, \xD0\x96UK, \xC5\xB8";          // Ω, Ж, Ÿ
    // Text, case-sensitive, row found: "3 €" is not the "3 ?" of row 4; ω, ж and ÿ find the
    // capitals of row 19; × is no capital of ÷ or anything.
    const std::tuple<const char*, bool, int> cases[] = {
        {"abc", false, 9},           {"aBc", false, 9},           {"abc", true, -1},
        {"\xC3\xA9glise", false, 9}, {"\xC3\xA9glise", true, -1}, {"3 \xE2\x82\xAC", true, 9},
        {"\xCF\x89mega", false, 19}, {"\xD0\xB6uk", false, 19},   {"\xC3\xBF", false, 19},
        {"\xC3\x97", false, -1}};
    for (const auto& [text, caseSensitive, row] : cases) {
        EXPECT_EQ(FindFlagRow(table, text, caseSensitive, 0), row) << text;
    }
}

// UTF-8 of a code point, written out here rather than taken from the code under test.
std::string Utf8(char32_t c) {
    std::string out;
    const auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | c >> 6), put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | c >> 12), put(0x80 | (c >> 6 & 0x3F)), put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | c >> 18), put(0x80 | (c >> 12 & 0x3F)), put(0x80 | (c >> 6 & 0x3F)),
            put(0x80 | (c & 0x3F));
    }
    return out;
}

TEST(FlagSearch, FoldingMatchesUnicodesLowerCaseForEveryLetterItKnows) {
    // tools/make_fold_table.py made the table from Python's str.lower.
    const std::map<char32_t, char32_t> folds{
#include "FoldTable.inc"
    };
    for (char32_t c = 1; c <= 0x52F; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const auto found = folds.find(c);
        const char32_t wanted = found == folds.end() ? c : found->second;
        EXPECT_EQ(FoldCase(Utf8(c)), Utf8(wanted)) << std::hex << static_cast<long>(c);
    }
    // Beyond the table: letters of other scripts keep their case.
    for (const char32_t c : {0x1E9E, 0x2C00, 0xFF21, 0x10400, 0x1F600, 0x10FFFF}) {
        EXPECT_EQ(FoldCase(Utf8(c)), Utf8(c)) << std::hex << static_cast<long>(c);
    }
}

TEST(FlagSearch, EveryClassOfCodePointGoesThroughUtf8OutAndInUnchanged) {
    // The ends of each UTF-8 length, the edges of the surrogates, an emoji, the last code point.
    for (const char32_t c : {0x01, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF,
                             0x10000, 0x1F600, 0x10FFFF}) {
        std::string text(1, 'a');  // appended: GCC 12 at -O3 warns about "a" + ... (-Wrestrict)
        text += Utf8(c);
        text += 'z';
        EXPECT_TRUE(IsValidUtf8(text)) << std::hex << static_cast<long>(c);
        TextEncoding encoding = TextEncoding::kWindows1252;
        EXPECT_EQ(DecodeTextFile(text, encoding), text);
        EXPECT_EQ(encoding, TextEncoding::kUtf8) << std::hex << static_cast<long>(c);
        EXPECT_EQ(EncodeTextFile(text, encoding), text);
        EXPECT_EQ(FoldCase(text), text);
        // Read as Windows-1252 (the rest of the file is), it is written back as UTF-8 whole.
        encoding = TextEncoding::kWindows1252;
        EXPECT_EQ(DecodeTextFile(EncodeTextFile(text, encoding), encoding), text);
    }
    // What is no UTF-8: a file of Windows-1252, each byte kept.
    for (const char* bytes : {"\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80",
                              "\xED\xBF\xBF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
                              "\xF5\x80\x80\x80", "\xFF", "\xE2\x82", "\xF0\x9F\x98"}) {
        std::string text(1, 'a');
        text += bytes;
        EXPECT_FALSE(IsValidUtf8(text)) << text;
        TextEncoding encoding = TextEncoding::kUtf8;
        const std::string decoded = DecodeTextFile(text, encoding);
        EXPECT_EQ(encoding, TextEncoding::kWindows1252) << text;
        EXPECT_EQ(EncodeTextFile(decoded, encoding), text);
        EXPECT_EQ(FoldCase(text), text) << "malformed bytes are kept as they are";
    }
}

}  // namespace
}  // namespace sw::test
