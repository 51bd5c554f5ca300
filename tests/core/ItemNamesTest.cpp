// Item-name records in the ROM: reading every terminator, renaming one record, short ROMs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Demo.h"
#include "ItemNames.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::IsEmpty;

constexpr long Record(int code) {
    return 1397248 + 39L * code;
}

class RomFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "quest.smc";
    Bytes rom = MakeDemoRom();
};

TEST_F(RomFile, ReadsEachRecordUpToItsTerminator) {
    Patch(rom, Record(1), {0x00, 0x71});
    Patch(rom, Record(2), {0x30, 0x71});
    Patch(rom, Record(3), {0x71, 0x30, 0x72});        // "A": the rest is ignored
    Patch(rom, Record(4), {0x71, 0x72, 0x00, 0x73});  // "AB"
    std::fill_n(rom.begin() + Record(5), 39, 0x71);   // no terminator: 39 characters
    Patch(rom, Record(6), {0x01, 0x30});              // 0x01 decodes to 0xD1
    WriteBytes(path, rom);
    ItemNameTable names;
    ASSERT_TRUE(ReadRomItemNames(path, names));
    EXPECT_EQ(names[0], "Null");
    EXPECT_EQ(names[1], "<blank>");
    EXPECT_EQ(names[2], "<blank>");
    EXPECT_EQ(names[3], "A");
    EXPECT_EQ(names[4], "AB");
    EXPECT_EQ(names[5], std::string(39, 'A'));
    EXPECT_EQ(names[6], "\xD1");
    for (int code = 7; code < 256; ++code) {
        EXPECT_EQ(names[code], DefaultItemNames()[code]) << code;
    }
}

TEST_F(RomFile, RenameWritesOneRecordPaddedWith0x30) {
    WriteBytes(path, rom);
    struct Case {
        int code;
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {255, std::string(45, 'z'), std::string(38, 'z')},
        {0, "", "<blank>"},
        {7, "\xD0x", "<blank>"},  // 0xD0 is written as a raw 0x00, which ends the name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_TRUE(WriteRomItemName(path, c.code, c.name));
        std::fill_n(rom.begin() + Record(c.code), 39, 0x30);
        for (std::size_t k = 0; k < c.name.size() && k < 38; ++k) {
            rom[Record(c.code) + k] = static_cast<std::uint8_t>(c.name[k] + 0x30);
        }
        EXPECT_THAT(DiffOffsets(rom, ReadBytes(path)), IsEmpty());
        ItemNameTable names;
        ASSERT_TRUE(ReadRomItemNames(path, names));
        EXPECT_EQ(names[c.code], c.shown);
    }
    EXPECT_FALSE(WriteRomItemName(path, 256, "x"));
    EXPECT_THAT(DiffOffsets(rom, ReadBytes(path)), IsEmpty());
}

TEST_F(RomFile, RenamingWritesOneRecordAndTakesEveryNameBack) {
    WriteBytes(path, rom);
    ItemNameTable names = DefaultItemNames();
    names[50] = "stale";  // the ROM's own names come back with the rename
    ASSERT_TRUE(RenameRomItem(path, 0x61, std::string(45, 'q'), names));
    EXPECT_EQ(names[0x61], std::string(38, 'q'));
    EXPECT_EQ(names[50], DefaultItemNames()[50]);
    Bytes expected = rom;
    std::fill_n(expected.begin() + Record(0x61), 38, 'q' + 0x30);
    expected[Record(0x61) + 38] = 0x30;
    EXPECT_THAT(DiffOffsets(expected, ReadBytes(path)), IsEmpty());

    ASSERT_TRUE(RenameRomItem(path, 0x61, "", names));
    EXPECT_EQ(names[0x61], "<blank>");

    // Refused: no name changes, no file appears.
    names[7] = "mine";
    EXPECT_FALSE(RenameRomItem("", 7, "x", names));
    EXPECT_FALSE(RenameRomItem(dir / "none.smc", 7, "x", names));
    EXPECT_EQ(names[7], "mine");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.smc"));
}

TEST_F(RomFile, AShortRomKeepsTheNamesItLacksAndIsNeverGrown) {
    ItemNameTable names;
    names.fill("kept");
    const long size = Record(100) + 20;  // ends inside record 100
    WriteBytes(path, Bytes(rom.begin(), rom.begin() + size));
    ASSERT_TRUE(ReadRomItemNames(path, names));
    EXPECT_EQ(names[99], DefaultItemNames()[99]);
    EXPECT_EQ(names[100], "kept");
    EXPECT_EQ(names[255], "kept");
    EXPECT_FALSE(WriteRomItemName(path, 100, "x"));
    EXPECT_TRUE(WriteRomItemName(path, 99, "x"));
    EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(size));

    names.fill("kept");
    WriteBytes(path, Bytes(rom.begin(), rom.begin() + 70000));  // ends before the table
    ASSERT_TRUE(ReadRomItemNames(path, names));
    EXPECT_EQ(names[0], "kept");

    const std::string missing = dir / "missing.smc";
    EXPECT_FALSE(ReadRomItemNames(missing, names));
    EXPECT_EQ(names[0], "kept");
    EXPECT_FALSE(WriteRomItemName(missing, 0, "x"));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace sw::test
