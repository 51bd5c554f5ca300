// The record of every editable field of the open save state, and the only code that moves
// those fields between the file and memory.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "CharacterRecord.h"
#include "Layout.h"

namespace sw {

class GameState {
public:
    virtual ~GameState() = default;

    // Gives the four records the slots 0-3 they are read from and written to (a record made
    // anew has every index 0).
    void NumberMembers() {
        for (int k = 0; k < layout::kMemberCount; ++k) {
            characters[k].index = k;
        }
    }

    // Zeroes the members' fields, money and texts; keeps each index, currentCharacter, the
    // event flags and the bytes of every text behind its first character.
    void Clear();

    // Readers fill from an open state file; false when the file could not be read whole. The
    // shift moves every offset of the layout (a ZSNES state's) to where the file holds its
    // work RAM (StateFormat::FieldShift).
    bool ReadCharacter(std::FILE* file, CharacterRecord& record, long shift = 0) const;
    bool ReadMoney(std::FILE* file, long shift = 0);
    bool ReadTexts(std::FILE* file, long shift = 0);
    bool ReadFlags(std::FILE* file, long shift = 0);

    // Writers do nothing and succeed without a file; otherwise they write in place and flush,
    // and return false when a write or the flush failed.
    bool WriteCharacter(std::FILE* file, CharacterRecord record, long shift = 0) const;
    bool WriteMoney(std::FILE* file, long shift = 0) const;
    bool WriteTexts(std::FILE* file, long shift = 0) const;
    bool WriteFlags(std::FILE* file, long shift = 0) const;

    // Clear, then read all four members, money, texts and flags (a document load).
    bool ReadAll(std::FILE* file, long shift = 0);
    // The groups a save writes, in this order: the four members, the money, the texts, the
    // flags; each is flushed before the next.
    static constexpr int kSaveGroups = 7;
    // Writes the groups in order and stops at the first that fails, so that a failing disk is
    // not written on blindly; returns how many were written whole (kSaveGroups: all).
    int WriteAll(std::FILE* file, long shift = 0) const;

    // The same on a whole file's bytes in memory, by the same readers and writers: a load of
    // bytes already read, and the bytes a save would leave. The bytes are a state of any
    // framing RecognizeState knows (a compressed one is unwrapped and wrapped again); other
    // bytes are taken as laid out as a ZSNES state. An uncompressed state keeps its length.
    bool ReadAll(std::string_view bytes);
    bool WriteAll(std::string& bytes) const;

    int GetFlag(int n) const;
    int ToggleFlag(int n);  // returns the flag's state before the call
    void SetFlag(int n, bool on);

    std::array<CharacterRecord, layout::kMemberCount> characters{};
    std::int32_t currentCharacter = 0;
    std::int32_t money = 0;
    std::int32_t bank = 0;
    std::array<char, layout::kPlayerNameBytes + 1> playerName{};
    std::array<char, layout::kDogNameBytes + 1> dogName{};
    std::array<char, layout::kFavoriteFoodBytes + 1> favoriteFood{};
    std::array<char, layout::kPsiSpecialBytes + 1> psiSpecial{};
    std::array<std::uint8_t, layout::kFlagBytes> eventFlags{};
};

}  // namespace sw
