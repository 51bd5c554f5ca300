// The record of every editable field of the open save state, and the only code that moves
// those fields between the file and memory.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "CharacterRecord.h"
#include "Layout.h"

namespace sw {

class GameState {
public:
    virtual ~GameState() = default;

    // Zeroes the members' fields, money and texts; keeps each index, currentCharacter, the
    // event flags and the bytes of every text behind its first character.
    void Clear();

    // Readers fill from an open state file; false when the file could not be read whole.
    bool ReadCharacter(std::FILE* file, CharacterRecord& record) const;
    bool ReadMoney(std::FILE* file);
    bool ReadTexts(std::FILE* file);
    bool ReadFlags(std::FILE* file);

    // Writers do nothing and succeed without a file; otherwise they write in place and flush,
    // and return false when a write or the flush failed.
    bool WriteCharacter(std::FILE* file, CharacterRecord record) const;
    bool WriteMoney(std::FILE* file) const;
    bool WriteTexts(std::FILE* file) const;
    bool WriteFlags(std::FILE* file) const;

    // Clear, then read all four members, money, texts and flags (a document load).
    bool ReadAll(std::FILE* file);
    // The groups a save writes, in this order: the four members, the money, the texts, the
    // flags; each is flushed before the next.
    static constexpr int kSaveGroups = 7;
    // Writes the groups in order and stops at the first that fails, so that a failing disk is
    // not written on blindly; returns how many were written whole (kSaveGroups: all).
    int WriteAll(std::FILE* file) const;

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
