// Find's walk through the descriptions: start row, wrap-around, case folding.
#include <gtest/gtest.h>

#include "FlagSearch.h"
#include "Latin1Case.h"

namespace sw::test {
namespace {

TEST(FlagSearch, StartsAtTheMarkWrapsAndSkipsSlotZero) {
    DescriptionTable table;
    table[0] = "Lamp in slot zero";  // never searched
    table[3] = "Lamp one\n";
    table[600] = "Lamp two";
    table[1024] = "last";
    struct Case {
        const char* text;
        int mark;
        int row;
    };
    for (const Case& c : {Case{"Lamp", -1, 2},
                          {"Lamp", 2, 2},  // the mark's own row first
                          {"Lamp", 3, 599},
                          {"Lamp", 600, 2},   // wrapped
                          {"Lamp", 1023, 2},  // wrapped from the last row
                          {"Lamp", 1024, 2},  // a mark beyond the list
                          {"slot zero", 0, -1},
                          {"one\n", 0, 2},  // the line feed is part of the text
                          // The last row is looked at from any mark, the row before the mark
                          // last of all.
                          {"last", -1, 1023},
                          {"last", 500, 1023},
                          {"last", 1023, 1023},
                          {"one", 3, 2},
                          // An empty text matches the first row looked at, empty or not.
                          {"", -1, 0},
                          {"", 1023, 1023}}) {
        EXPECT_EQ(FindFlagRow(table, c.text, true, c.mark), c.row) << c.text << " " << c.mark;
    }
}

TEST(FlagSearch, FoldsLatin1CapitalsOnlyWithoutCaseSensitivity) {
    DescriptionTable table;
    table[10] = "Met ABC at the \xC9glise";  // E-acute capital
    EXPECT_EQ(FindFlagRow(table, "abc", false, 0), 9);
    EXPECT_EQ(FindFlagRow(table, "aBc", false, 0), 9);
    EXPECT_EQ(FindFlagRow(table, "abc", true, 0), -1);
    EXPECT_EQ(FindFlagRow(table, "\xE9glise", false, 0), 9);
    EXPECT_EQ(FindFlagRow(table, "\xE9glise", true, 0), -1);
    EXPECT_EQ(LowerLatin1('\xD7'), '\xD7');  // the multiplication sign is no letter
    EXPECT_EQ(LowerLatin1('\xDE'), '\xFE');
    EXPECT_EQ(LowerLatin1('\xDF'), '\xDF');
    EXPECT_EQ(LowerLatin1('['), '[');
}

}  // namespace
}  // namespace sw::test
