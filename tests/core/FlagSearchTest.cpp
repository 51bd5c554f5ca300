// Find's walk through the descriptions: start row, wrap-around, case folding.
#include <gtest/gtest.h>

#include "FlagSearch.h"

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

TEST(FlagSearch, ComparesRealCharactersAndFoldsCapitalsWithoutCaseSensitivity) {
    DescriptionTable table;
    table[5] = "Paid 3 ? at the inn";                           // a question mark
    table[10] = "Met ABC at the \xC3\x89glise for 3 \xE2\x82\xAC";  // É, €
    table[20] = "\xCE\xA9MEGA gate, \xD0\x96UK, \xC5\xB8";         // Ω, Ж, Ÿ
    struct Case {
        const char* text;
        bool caseSensitive;
        int row;
    };
    for (const Case& c : {Case{"abc", false, 9}, Case{"aBc", false, 9}, Case{"abc", true, -1},
                          Case{"\xC3\xA9glise", false, 9}, Case{"\xC3\xA9glise", true, -1},
                          Case{"3 \xE2\x82\xAC", true, 9},   // not the "3 ?" of row 4
                          Case{"\xCF\x89mega", false, 19},    // ω
                          Case{"\xD0\xB6uk", false, 19},      // ж
                          Case{"\xC3\xBF", false, 19},        // ÿ
                          Case{"\xC3\x97", false, -1}}) {     // × is no capital of ÷ or anything
        EXPECT_EQ(FindFlagRow(table, c.text, c.caseSensitive, 0), c.row) << c.text;
    }
}

}  // namespace
}  // namespace sw::test
