// Find's walk through the descriptions: start row, wrap-around, case folding.
#include <gtest/gtest.h>

#include <tuple>

#include "FlagSearch.h"

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

}  // namespace
}  // namespace sw::test
