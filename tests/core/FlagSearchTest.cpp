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
    EXPECT_EQ(FindFlagRow(table, "Lamp", true, -1), 2);
    EXPECT_EQ(FindFlagRow(table, "Lamp", true, 2), 2);  // the mark's own row first
    EXPECT_EQ(FindFlagRow(table, "Lamp", true, 3), 599);
    EXPECT_EQ(FindFlagRow(table, "Lamp", true, 600), 2);   // wrapped
    EXPECT_EQ(FindFlagRow(table, "Lamp", true, 1024), 2);  // a mark beyond the list
    EXPECT_EQ(FindFlagRow(table, "slot zero", true, 0), -1);
    EXPECT_EQ(FindFlagRow(table, "one\n", true, 0), 2);  // the line feed is part of the text

    // An empty text matches the first row looked at, an empty description included.
    EXPECT_EQ(FindFlagRow(table, "", true, -1), 0);
    EXPECT_EQ(FindFlagRow(table, "", false, 1023), 1023);
    table[1024] = "last";
    EXPECT_EQ(FindFlagRow(table, "last", true, 500), 1023);
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
