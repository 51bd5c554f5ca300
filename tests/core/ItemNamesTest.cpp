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

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr long Record(int code) {
    return 1397248 + 39L * code;
}

class RomFile : public ::testing::Test {
protected:
    bool Write(int code, const std::string& name, const std::string& at = {}) {
        return WriteRomItemName(at.empty() ? path : at, code, name, problem);
    }
    bool Rename(const std::string& at, int code, const std::string& typed, ItemNameTable& names) {
        message.clear();
        return RenameRomItem(at, code, typed, names, backups, message);
    }

    TempDir dir;
    std::string path = dir / "quest.smc";
    Bytes rom = MakeDemoRom();
    FileProblem problem;
    BackupKeeper backups{dir / "backups"};
    std::string message;
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
    // Code, name written, name read back; 0xD0 is written as a raw 0x00, which ends the name.
    const std::tuple<int, std::string, std::string> cases[] = {
        {255, std::string(45, 'z'), std::string(38, 'z')},
        {0, "", "<blank>"},
        {7, "\xD0x", "<blank>"}};
    for (const auto& [code, name, shown] : cases) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(Write(code, name));
        rom = WithItemName(rom, code, name.substr(0, 38));
        EXPECT_THAT(DiffOffsets(rom, ReadBytes(path)), IsEmpty());
        ItemNameTable names;
        ASSERT_TRUE(ReadRomItemNames(path, names));
        EXPECT_EQ(names[code], shown);
    }
    EXPECT_FALSE(Write(256, "x"));
    EXPECT_THAT(DiffOffsets(rom, ReadBytes(path)), IsEmpty());
}

TEST_F(RomFile, RenamingWritesOneRecordAndTakesEveryNameBack) {
    WriteBytes(path, rom);
    ItemNameTable names = DefaultItemNames();
    names[50] = "stale";  // the ROM's own names come back with the rename
    ASSERT_TRUE(Rename(path, 0x61, std::string(45, 'q'), names));
    EXPECT_EQ(names[0x61], std::string(38, 'q'));
    EXPECT_EQ(names[50], DefaultItemNames()[50]);
    EXPECT_THAT(DiffOffsets(WithItemName(rom, 0x61, std::string(38, 'q')), ReadBytes(path)),
                IsEmpty());

    ASSERT_TRUE(Rename(path, 0x61, "", names));
    EXPECT_EQ(names[0x61], "<blank>");
    // One backup, before the first rename, holding the ROM as it was.
    const std::vector<BackupEntry> kept = ListBackups(dir / "backups", path);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept[0].path), rom);
    if (Can(kNoModeBits, "the backup's mode 0600 and its folder's 0700")) {
        EXPECT_EQ(std::filesystem::status(kept[0].path).permissions(),
                  std::filesystem::perms(0600));
        EXPECT_EQ(std::filesystem::status(dir / "backups").permissions(),
                  std::filesystem::perms(0700));
    }

    // Refused, with the reason: no name changes, no file appears, no backup is made.
    names[7] = "mine";
    const std::string readOnly = dir / "readonly.smc";
    WriteBytes(readOnly, rom);
    ASSERT_TRUE(MakeReadOnly(readOnly, std::filesystem::perms::owner_read));
    const std::string readOnlyReason = "readonly.smc: " + ReadOnlyReason("0400");
    const std::pair<std::string, const char*> refusals[] = {
        {"", "No ROM image is open"},
        {dir / "none.smc", "none.smc: No such file or directory"},
        {dir.Path(), ": it is a folder, not a file"},
        {readOnly, readOnlyReason.c_str()}};
    for (const auto& [at, reason] : refusals) {
        SCOPED_TRACE(at);
        EXPECT_FALSE(Rename(at, 7, "x", names));
        EXPECT_THAT(message, StartsWith("WARNING: ROM write failed.\n\n"));
        EXPECT_THAT(message, HasSubstr(reason));
    }
    EXPECT_EQ(names[7], "mine");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.smc"));
    EXPECT_EQ(ReadBytes(readOnly), rom);
    EXPECT_EQ(ListBackups(dir / "backups", readOnly).size(), 0u);

    // No backup, no rename: the backup folder cannot be made (a file stands in its way).
    WriteBytes(dir / "blocked", {});
    BackupKeeper blocked{dir / "blocked/backups"};
    EXPECT_FALSE(RenameRomItem(path, 0x62, "x", names, blocked, message));
    EXPECT_THAT(message, StartsWith("ERROR: The file was not written, because no backup"));
    EXPECT_EQ(names[0x62], DefaultItemNames()[0x62]);
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
    EXPECT_FALSE(Write(100, "x"));
    EXPECT_EQ(problem.reason,
              "the ROM holds only 1401168 bytes and ends before the name of item 100, which lies "
              "at bytes 1401148-1401186; it is not a whole game ROM");
    EXPECT_TRUE(Write(99, "x"));
    EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(size));

    names.fill("kept");
    WriteBytes(path, Bytes(rom.begin(), rom.begin() + 70000));  // ends before the table
    ASSERT_TRUE(ReadRomItemNames(path, names));
    EXPECT_EQ(names[0], "kept");

    const std::string missing = dir / "missing.smc";
    EXPECT_FALSE(ReadRomItemNames(missing, names));
    EXPECT_EQ(names[0], "kept");
    EXPECT_FALSE(Write(0, "x", missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// Without the copier header (most .sfc files) every record lies 512 bytes earlier; the title
// tells the layout, so that a ROM of either size rule reads and writes the same names.
TEST_F(RomFile, AHeaderlessRomHoldsEveryRecord512BytesEarlier) {
    const auto headerless = [](const Bytes& withHeader, std::size_t cut = 0) {
        return Bytes(withHeader.begin() + 512, withHeader.end() - static_cast<long>(cut));
    };
    WriteBytes(path, headerless(rom));
    EXPECT_FALSE(RomEndsBeforeItemTable(path));
    for (const auto& [code, name] : {std::pair{255, "Quill of Ash"}, std::pair{0, "Lamp"}}) {
        ASSERT_TRUE(Write(code, name));
        rom = WithItemName(rom, code, name);
        EXPECT_THAT(DiffOffsets(headerless(rom), ReadBytes(path)), IsEmpty());
    }
    ItemNameTable names = DefaultItemNames();
    ASSERT_TRUE(ReadRomItemNames(path, names));
    EXPECT_EQ(names[255], "Quill of Ash");
    EXPECT_EQ(names[0], "Lamp");
    EXPECT_EQ(names[1], DefaultItemNames()[1]);

    // Cut inside the last record: the record's own place is named.
    WriteBytes(path, Bytes(rom.begin() + 512, rom.begin() + Record(255) + 20));
    EXPECT_TRUE(RomEndsBeforeItemTable(path));
    EXPECT_FALSE(Write(255, "x"));
    EXPECT_EQ(problem.reason,
              "the ROM holds only 1406701 bytes and ends before the name of item 255, which lies "
              "at bytes 1406681-1406719; it is not a whole game ROM");
    WriteBytes(path, Bytes(rom.begin(), rom.begin() + Record(256)));
    EXPECT_FALSE(RomEndsBeforeItemTable(path));
}

}  // namespace
}  // namespace sw::test
