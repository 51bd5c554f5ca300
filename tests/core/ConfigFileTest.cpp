// Configuration snapshots: the 2,259-byte layout, its tail, and the refusals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "ConfigFile.h"
#include "Demo.h"
#include "Messages.h"
#include "RecordingPrompter.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using Ints = std::vector<int>;

// Every field distinct, names with bytes behind their end, numbers wider than their fields.
GameState Sample() {
    GameState s;
    for (int k = 0; k < 4; ++k) {
        CharacterRecord& m = s.characters[k];
        m.name = {'A', 'l', '\0', 'x', static_cast<char>('0' + k), '\0'};
        m.level = static_cast<std::uint8_t>(10 + k);
        m.experience = 0x01ABCDEF + k, m.hpMax = 0x1234, m.ppMax = 0x2345 + k, m.hp = -1,
        m.pp = 0x18001;
        for (int i = 0; i < 7; ++i) {
            *m.Attributes()[i] = static_cast<std::uint8_t>(1 + i + k);
        }
        for (int i = 0; i < 14; ++i) {
            m.goods[i] = static_cast<std::uint8_t>(0x40 + i + k);
        }
    }
    s.money = 0x01020304;
    s.bank = 70000;
    std::memcpy(s.playerName.data(), "ABCDEFGHIJKLMNOPQRSTUVWX", 24);
    std::memcpy(s.dogName.data(), "Pip\0zz", 6);
    std::memcpy(s.favoriteFood.data(), "Scones", 6);
    std::memcpy(s.psiSpecial.data(), "Inkstorm", 8);
    for (int i = 0; i < 128; ++i) {
        s.eventFlags[i] = static_cast<std::uint8_t>(i * 3);
    }
    return s;
}

Bytes SnapshotOf(const GameState& state, const TempDir& dir) {
    RecordingPrompter prompter;
    WriteConfigFile(dir / "snapshot.swr", state, prompter);
    return ReadBytes(dir / "snapshot.swr");
}

TEST(ConfigFile, WritesTheSnapshotLayoutAndReadsItBack) {
    TempDir dir;
    RecordingPrompter prompter;
    const std::string path = dir / "party.swr";
    ASSERT_TRUE(WriteConfigFile(path, Sample(), prompter));
    const Bytes b = ReadBytes(path);
    ASSERT_EQ(b.size(), 2259u);
    for (int k = 0; k < 4; ++k) {
        const auto u8 = [k](int v) { return static_cast<std::uint8_t>(v + k); };
        // Name buffer, level, experience (low 24 bits), maximum HP and PP, attributes, goods,
        // HP and PP.
        Bytes block = {'A',      'l',   0,     'x',   u8('0'), 0,        u8(10),
                       u8(0xEF), 0xCD,  0xAB,  0x34,  0x12,    u8(0x45), 0x23,
                       u8(1),    u8(2), u8(3), u8(4), u8(5),   u8(6),    u8(7)};
        for (int i = 0; i < 14; ++i) {
            block.push_back(u8(0x40 + i));
        }
        block.insert(block.end(), {0xFF, 0xFF, 0x01, 0x80});
        EXPECT_EQ(Bytes(b.begin() + 39 * k, b.begin() + 39 * (k + 1)), block) << k;
    }
    EXPECT_EQ(Bytes(b.begin() + 156, b.begin() + 162), (Bytes{0x04, 0x03, 0x02, 0x70, 0x11, 0x01}));
    EXPECT_EQ(std::string(b.begin() + 162, b.begin() + 211),
              std::string("ABCDEFGHIJKLMNOPQRSTUVWXPip\0zz\0Scones\0Inkstorm\0\0\0", 49));
    EXPECT_TRUE(std::equal(b.begin() + 211, b.begin() + 339, Sample().eventFlags.begin()));
    EXPECT_EQ(std::count(b.begin() + 339, b.end(), 0), 1920);

    GameState loaded;
    loaded.currentCharacter = 3;
    loaded.characters[2].index = 2;
    ASSERT_EQ(ReadConfigFile(path, loaded, prompter), ConfigRead::kLoaded);
    EXPECT_THAT(prompter.messages, IsEmpty());
    EXPECT_EQ(loaded.currentCharacter, 3);  // neither stored nor changed
    EXPECT_EQ(loaded.characters[2].index, 2);
    // Each field read at its own width: every neighbouring byte is non-zero, so a number read
    // one byte too wide shows here even though writing it again would cut it back.
    for (int k = 0; k < 4; ++k) {
        const CharacterRecord& m = loaded.characters[k];
        EXPECT_EQ(Ints({m.level, m.experience, m.hpMax, m.ppMax, m.hp, m.pp, m.offense, m.iq}),
                  Ints({10 + k, 0xABCDEF + k, 0x1234, 0x2345 + k, 0xFFFF, 0x8001, 1 + k, 7 + k}))
            << k;
    }
    EXPECT_EQ(Ints({loaded.money, loaded.bank, loaded.playerName[24]}), Ints({0x020304, 70000, 0}));
    EXPECT_EQ(SnapshotOf(loaded, dir), b);  // every other field came back where it was
}

TEST(ConfigFile, WritingOverALongerFileKeepsItsTail) {
    TempDir dir;
    RecordingPrompter prompter;
    Bytes old(3000);
    for (std::size_t i = 0; i < old.size(); ++i) {
        old[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    WriteBytes(dir / "long.swr", old);
    ASSERT_TRUE(WriteConfigFile(dir / "long.swr", Sample(), prompter));
    Bytes expected = SnapshotOf(Sample(), dir);
    expected.insert(expected.end(), old.begin() + 2259, old.end());
    EXPECT_EQ(ReadBytes(dir / "long.swr"), expected);
}

TEST(ConfigFile, ShortOrMissingFilesLeaveTheRecordAlone) {
    TempDir dir;
    RecordingPrompter prompter;
    const Bytes full = SnapshotOf(Sample(), dir);
    WriteBytes(dir / "short.swr", Bytes(full.begin(), full.begin() + 338));
    WriteBytes(dir / "enough.swr", Bytes(full.begin(), full.begin() + 339));
    GameState state;
    const Bytes empty = SnapshotOf(state, dir);

    std::filesystem::create_directory(dir / "folder.swr");
    const std::string cannotLoad = "ERROR: Cannot load the configuration file.\n\n";
    EXPECT_EQ(ReadConfigFile(dir / "missing.swr", state, prompter), ConfigRead::kCannotOpen);
    EXPECT_EQ(ReadConfigFile(dir / "folder.swr", state, prompter), ConfigRead::kCannotOpen);
    EXPECT_EQ(ReadConfigFile(dir / "short.swr", state, prompter), ConfigRead::kTooShort);
    EXPECT_THAT(prompter.messages,
                ElementsAre(cannotLoad + dir / "missing.swr: No such file or directory",
                            cannotLoad + dir / "folder.swr: it is a folder, not a file",
                            msg::kConfigTooShort));
    EXPECT_EQ(SnapshotOf(state, dir), empty);

    EXPECT_EQ(ReadConfigFile(dir / "enough.swr", state, prompter), ConfigRead::kLoaded);
    EXPECT_EQ(SnapshotOf(state, dir), full);
}

TEST(ConfigFile, AWriteThatFailsSaysSo) {
    TempDir dir;
    for (const std::string& path : {dir / "no-folder/party.swr", std::string("/dev/full")}) {
        if (path == "/dev/full" && !Can(kNoDevices, path)) {
            continue;
        }
        SCOPED_TRACE(path);
        RecordingPrompter prompter;
        EXPECT_FALSE(WriteConfigFile(path, Sample(), prompter));
        EXPECT_THAT(prompter.messages,
                    ElementsAre(StartsWith(std::string(msg::kConfigWriteFailed) + path + ": ")));
    }
}

TEST(ConfigFile, IsNeverWrittenOverAnotherKindOfFileNorLeftHalfWritten) {
    TempDir dir;
    const Bytes state = MakeDemoState();
    Bytes rom = MakeDemoRom();
    rom.resize(65995);  // just long enough to carry the title
    WriteBytes(dir / "quest.zs1", state);
    WriteBytes(dir / "quest.smc", rom);
    const bool links = Can(kNoLinks, "a configuration named by a link to a state");
    if (links) {
        std::filesystem::create_symlink(dir / "quest.zs1", dir / "link.swr");
    }
    std::filesystem::copy_file(dir / "quest.zs1", dir / "open.bin");
    // The file, the files open in the program, the refusal.
    const std::tuple<std::string, std::vector<std::string>, const char*> cases[] = {
        {dir / "quest.zs1", {}, msg::kConfigNotOverState},
        {dir / "quest.smc", {}, msg::kConfigNotOverRom},
        {dir / "link.swr", {}, msg::kConfigNotOverState},
        {dir / "open.bin", {"", dir / "open.bin"}, msg::kConfigNotOverOpenFile}};
    for (const auto& [path, open, message] : cases) {
        if (!links && path == dir / "link.swr") {
            continue;
        }
        SCOPED_TRACE(path);
        RecordingPrompter prompter;
        EXPECT_FALSE(WriteConfigFile(path, Sample(), prompter, open));
        EXPECT_THAT(prompter.messages, ElementsAre(message));
    }
    EXPECT_EQ(ReadBytes(dir / "quest.zs1"), state);
    EXPECT_EQ(ReadBytes(dir / "quest.smc"), rom);
    EXPECT_EQ(ReadBytes(dir / "open.bin"), state);

    // A disk that fills up half way (a file size limit stands in for it): a new file is not
    // left behind, an old one keeps every byte.
    if (!Can(kNoFileSizeLimit, "a configuration written onto a full disk")) {
        return;
    }
    const Bytes old(3000, 0x5A);
    WriteBytes(dir / "old.swr", old);
    RecordingPrompter prompter;
    bool wroteNew = false;
    bool wroteOld = false;
    {
        const FileSizeLimit limit(1000);
        wroteNew = WriteConfigFile(dir / "new.swr", Sample(), prompter);
        wroteOld = WriteConfigFile(dir / "old.swr", Sample(), prompter);
    }
    EXPECT_FALSE(wroteNew);
    EXPECT_FALSE(wroteOld);
    EXPECT_THAT(prompter.messages,
                ElementsAre(StartsWith(std::string(msg::kConfigWriteFailed) + dir / "new.swr: "),
                            StartsWith(std::string(msg::kConfigWriteFailed) + dir / "old.swr: ")));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.swr"));
    EXPECT_EQ(ReadBytes(dir / "old.swr"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              5);  // no temporary file either
}

}  // namespace
}  // namespace sw::test
