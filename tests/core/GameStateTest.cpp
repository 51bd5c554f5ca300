// The record's writers on a real save state, byte for byte. Offsets are written out as numbers,
// not taken from the layout table, so that a wrong constant there shows. Reading every field is
// StateDiffTest's table; writing money is checked against the whole file in the command-line
// tests. Also the game text that typed UTF-8 becomes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include <cstring>
#include <numeric>

#include "Demo.h"
#include "FileIO.h"
#include "GameState.h"
#include "GameText.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::IsEmpty;
using Ints = std::vector<int>;

constexpr long kSlotBase[4] = {42465, 42560, 42655, 42750};

class GameStateFile : public ::testing::Test {
protected:
    GameStateFile() {
        for (int k = 0; k < 4; ++k) {
            state.characters[k].index = k;
        }
    }
    FilePtr Open(const Bytes& bytes, const char* mode = "rb+") {
        WriteBytes(path, bytes);
        return OpenStream(path, mode);
    }
    std::vector<long> Changed(const Bytes& expected) const {
        return DiffOffsets(expected, ReadBytes(path));
    }

    TempDir dir;
    std::string path = dir / "quest.zs1";
    const Bytes original = MakeDemoState();
    GameState state;
};

TEST_F(GameStateFile, WriteCharacterChangesOnlyItsFieldBytes) {
    for (int s = 0; s < 4; ++s) {
        SCOPED_TRACE(s);
        Bytes expected = original;
        expected[kSlotBase[s] + 9] = 0xEE;  // the fourth experience byte becomes 0 whatever it held
        auto file = Open(expected);
        CharacterRecord m = state.characters[s];
        m.name = {'A', 'c', 'e', '\0', 'x', '\0'};
        m.level = 200;
        m.experience = 16777215;
        m.hpMax = 32768;
        m.ppMax = 0x11223344;  // wider than its field: the high bytes are lost
        m.offense = 1, m.defense = 2, m.speed = 3, m.guts = 4, m.luck = 5, m.vitality = 6, m.iq = 7;
        std::iota(m.goods.begin(), m.goods.end(), 0x10);
        m.hp = -1;
        m.pp = 70000;
        ASSERT_TRUE(state.WriteCharacter(file.get(), m));

        const long b = kSlotBase[s];
        Patch(expected, b,
              {0x71, 0x93, 0x95, 0x00, 0xA8, 0xC8, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x44, 0x33});
        Patch(expected, b + 21, {1, 2, 3, 4, 5, 6, 7});
        std::iota(expected.begin() + b + 35, expected.begin() + b + 49, 0x10);
        Patch(expected, b + 71, {0xFF, 0xFF});
        Patch(expected, b + 77, {0x70, 0x11});
        EXPECT_THAT(Changed(expected), IsEmpty());  // flushed while the file stays open
    }
}

TEST_F(GameStateFile, TextsAreDecodedAndWrittenWholeWidth) {
    Bytes bytes = original;
    for (int i = 0; i < 24; ++i) {
        bytes[42004 + i] = static_cast<std::uint8_t>(0x71 + i);  // "A".."X", no terminator
    }
    Patch(bytes, 42028, {0x01, 0x30, 0x74, 0x00, 0x00, 0x00});  // 0x01 is 0xD1; 0x30 ends it
    Patch(bytes, 42034, {0x96, 0x9F, 0x9F, 0x94, 0x00, 0x00});
    Patch(bytes, 42040, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
    auto file = Open(bytes);
    ASSERT_TRUE(state.ReadTexts(file.get()));
    EXPECT_EQ(std::string(state.playerName.data()), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(std::string(state.dogName.data(), 3), std::string("\xD1\0D", 3));
    EXPECT_EQ(std::string(state.favoriteFood.data()), "food");
    EXPECT_EQ(std::string(state.psiSpecial.data()), "PPPPPPPPPP");

    std::memcpy(state.playerName.data(), "Al\0xyz", 6);  // the old text stays behind the end
    state.dogName[0] = '\xD0';                           // written as 0x00
    state.dogName[1] = 'd';
    ASSERT_TRUE(state.WriteTexts(file.get()));
    Patch(bytes, 42004, {0x71, 0x9C, 0x00, 0xA8, 0xA9, 0xAA});
    Patch(bytes, 42028, {0x00, 0x94});
    EXPECT_THAT(Changed(bytes), IsEmpty());
}

TEST_F(GameStateFile, ClearKeepsIndexesCurrentMemberFlagsAndBytesBehindTexts) {
    auto file = Open(original);
    ASSERT_TRUE(state.ReadAll(file.get()));
    state.currentCharacter = 2;
    // Flag 0 is bit 0 of byte 43035, set in the demo; toggling returns the state before.
    EXPECT_EQ(Ints({state.ToggleFlag(0), state.ToggleFlag(0), state.GetFlag(1023)}),
              Ints({1, 0, 1}));
    const GameState before = state;
    state.Clear();
    for (int k = 0; k < 4; ++k) {
        const CharacterRecord& m = state.characters[k];
        EXPECT_EQ(Ints({m.index, m.name[0], m.name[1]}),
                  Ints({k, 0, before.characters[k].name[1]}));
        EXPECT_EQ(Ints({m.level, m.experience, m.hpMax, m.ppMax, m.hp, m.pp, m.offense, m.defense,
                        m.speed, m.guts, m.luck, m.vitality, m.iq}),
                  Ints(13, 0));
        EXPECT_EQ(m.goods, decltype(m.goods){});
    }
    EXPECT_EQ(
        Ints({state.money, state.bank, state.playerName[0], state.playerName[1], state.dogName[0],
              state.favoriteFood[0], state.psiSpecial[0], state.currentCharacter}),
        Ints({0, 0, 0, 'a', 0, 0, 0, 2}));  // 'a' of "Marlowe" stays
    EXPECT_EQ(state.eventFlags, before.eventFlags);
}

// Each group's failed write, caught at the write or only at the flush (the seam below buffers as
// any stream does), stops the save there.
TEST_F(GameStateFile, ASaveStopsAtTheFirstGroupThatFails) {
    EXPECT_EQ(state.WriteAll(nullptr), GameState::kSaveGroups);  // no file: nothing to fail
    if (kNoFailingStreams) {
        GTEST_SKIP() << kNoFailingStreams;
    }
    // The groups lie in the file as texts, money, members, flags, and are written as members,
    // money, texts, flags: a failing money write must leave the texts and flags alone.
    WriteBytes(path, original);
    ASSERT_TRUE(state.ReadAll(OpenStream(path, "rb").get()));
    GameState edited = state;
    edited.characters[3].level = 99;
    edited.money = 1;
    edited.playerName[0] = 'Q';
    edited.eventFlags[0] ^= 1;
    // Where the writes start failing, and the groups written before.
    const std::pair<long, int> cases[] = {
        {kSlotBase[0], 0}, {kSlotBase[2] + 35, 2}, {42052, 4}, {42004, 5}, {43035 + 127, 6}};
    for (const auto& [failFrom, written] : cases) {
        SCOPED_TRACE(failFrom);
        WriteBytes(path, original);
        FilePtr file = OpenFailingStream(path, failFrom, failFrom + 1, ENOSPC);
        EXPECT_EQ(edited.WriteAll(file.get()), written);
        file.reset();
        GameState back = state;
        ASSERT_TRUE(back.ReadAll(OpenStream(path, "rb").get()));
        EXPECT_EQ(back.characters[3].level, written >= 4 ? 99 : state.characters[3].level);
        EXPECT_EQ(back.money, written >= 5 ? 1 : state.money);
        EXPECT_EQ(back.playerName[0], written >= 6 ? 'Q' : state.playerName[0]);
        EXPECT_EQ(back.eventFlags[0], state.eventFlags[0]);  // the last group never got there
    }
}

TEST(GameText, Utf8BecomesOneByteOrOneQuestionMarkPerCharacter) {
    for (const auto& [utf8, latin1] :
         {std::pair<std::string, std::string>{"Caf\xC3\xA9 \xC3\xBF", "Caf\xE9 \xFF"},
          {"\u20AC5", "?5"},                           // 3 bytes: the euro sign
          {"a\xF0\x9F\x99\x82z", "a?z"},               // 4 bytes: one character
          {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "??"},  // the first and last of 4 bytes
          {"\xF0\x9F\x99", "???"},                     // cut short: each byte
          {"\xF0\x9F\x99z", "???z"},
          {"\x80\xBFx", "??x"},               // stray continuation bytes
          {"\xF8\x88\x80\x80\x80", "?????"},  // no lead byte
          {"\xC0\x80\xC1\xBF", "????"},       // overlong: no 0 or DEL smuggled in
          {"\xE0\x80\x80\xF0\x80\x80\x80", "???????"},
          {"\xED\xA0\x80\xF4\x90\x80\x80", "???????"},  // a surrogate; above U+10FFFF
          {std::string("a\0b", 3), std::string("a\0b", 3)}}) {
        EXPECT_EQ(Utf8ToLatin1(utf8), latin1) << utf8;
    }
    std::string every;
    for (int c = 0; c < 256; ++c) {
        every.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(every)), every);
}

}  // namespace
}  // namespace sw::test
