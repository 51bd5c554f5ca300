// How typed text becomes record values: the rules the pages use when they are read back, and
// which the command line shares so that both store exactly the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "CharacterRecord.h"
#include "GameState.h"

namespace sw {

inline constexpr std::int32_t kLevelLimit = 255;
inline constexpr std::int32_t kExperienceLimit = 16777215;
inline constexpr std::int32_t kHpPpLimit = 32768;  // not 32,767 or 65,535
inline constexpr std::int32_t kAttributeLimit = 255;
inline constexpr std::int32_t kNoLimit = INT32_MAX;

// The smaller of value and limit (signed); there is no lower limit.
inline std::int32_t ClampMax(std::int32_t value, std::int32_t limit) {
    return value <= limit ? value : limit;
}

// A signed decimal number as atoi reads it: leading blanks, an optional sign, digits up to the
// first other character; text that is no number reads as 0; out of range saturates.
std::int32_t ParseTypedNumber(std::string_view text);

// The fields of a member that the pages show, in the order the pages gather them.
enum class MemberField {
    kName,
    kLevel,
    kExperience,
    kHpMax,
    kPpMax,
    kOffense,
    kDefense,
    kSpeed,
    kGuts,
    kVitality,
    kIq,
    kLuck,
    kHp,
    kPp,
};
inline constexpr int kMemberFieldCount = 14;

struct MemberFieldInfo {
    MemberField field;
    const char* key;     // name on the command line and in JSON
    std::int32_t limit;  // largest value stored; unused for the name
};

// The member fields in the order the game lists a member's stats: how `show`, its JSON and
// `diff` list them (the pages gather in another order).
inline constexpr MemberField kMemberFieldsListed[] = {
    MemberField::kName,     MemberField::kLevel, MemberField::kExperience, MemberField::kHp,
    MemberField::kHpMax,    MemberField::kPp,    MemberField::kPpMax,      MemberField::kOffense,
    MemberField::kDefense,  MemberField::kSpeed, MemberField::kGuts,       MemberField::kLuck,
    MemberField::kVitality, MemberField::kIq};

// All member fields, in gathering order.
const MemberFieldInfo (&MemberFields())[kMemberFieldCount];
std::optional<MemberField> MemberFieldByKey(std::string_view key);

// The value as the page shows it (signed decimal, or the name).
std::string ShownMemberField(const CharacterRecord& member, MemberField field);
// Copies one field as it is, without a limit (the name with every byte of its buffer).
void CopyMemberField(CharacterRecord& to, const CharacterRecord& from, MemberField field);
// Stores typed text with the field's limit; a one-byte field keeps the low 8 bits.
void StoreTypedMemberField(CharacterRecord& member, MemberField field, std::string_view typed);

enum class StateText { kPlayerName, kDogName, kFavoriteFood, kPsiSpecial };
struct StateTextInfo {
    StateText text;
    const char* key;
};
inline constexpr StateTextInfo kStateTexts[] = {
    {StateText::kPlayerName, "playerName"},
    {StateText::kDogName, "dogName"},
    {StateText::kFavoriteFood, "favoriteFood"},
    {StateText::kPsiSpecial, "psiSpecial"},
};

std::string ShownText(const GameState& state, StateText text);
// Copies the text's whole buffer, the bytes behind its end included.
void CopyText(GameState& to, const GameState& from, StateText text);
// Cuts the typed text to the field's width and terminates it; characters of an old, longer
// text behind the new terminator keep their values.
void StoreTypedText(GameState& state, StateText text, std::string_view typed);

// Cut-and-terminate into any fixed text buffer (width = buffer size - 1).
void StoreCutText(char* buffer, std::size_t width, std::string_view typed);

}  // namespace sw
