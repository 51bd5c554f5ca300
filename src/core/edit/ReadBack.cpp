#include "ReadBack.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <type_traits>

#include "GameText.h"

namespace sw {
namespace {

constexpr MemberFieldInfo kFields[kMemberFieldCount] = {
    {MemberField::kName, "name", 0},
    {MemberField::kLevel, "level", kLevelLimit},
    {MemberField::kExperience, "experience", kExperienceLimit},
    {MemberField::kHpMax, "hpMax", kHpPpLimit},
    {MemberField::kPpMax, "ppMax", kHpPpLimit},
    {MemberField::kOffense, "offense", kAttributeLimit},
    {MemberField::kDefense, "defense", kAttributeLimit},
    {MemberField::kSpeed, "speed", kAttributeLimit},
    {MemberField::kGuts, "guts", kAttributeLimit},
    {MemberField::kVitality, "vitality", kAttributeLimit},
    {MemberField::kIq, "iq", kAttributeLimit},
    {MemberField::kLuck, "luck", kAttributeLimit},
    {MemberField::kHp, "hp", kHpPpLimit},
    {MemberField::kPp, "pp", kHpPpLimit},
};

// Both tables are indexed by the enum's value.
static_assert([] {
    for (int i = 0; i < kMemberFieldCount; ++i) {
        if (static_cast<int>(kFields[i].field) != i) {
            return false;
        }
    }
    return true;
}());

// Where each numeric field lives in a record: one byte wide, or a 32-bit value.
struct FieldPlace {
    std::uint8_t CharacterRecord::*byte;
    std::int32_t CharacterRecord::*word;
};

constexpr FieldPlace kPlaces[kMemberFieldCount] = {
    {nullptr, nullptr},
    {&CharacterRecord::level, nullptr},
    {nullptr, &CharacterRecord::experience},
    {nullptr, &CharacterRecord::hpMax},
    {nullptr, &CharacterRecord::ppMax},
    {&CharacterRecord::offense, nullptr},
    {&CharacterRecord::defense, nullptr},
    {&CharacterRecord::speed, nullptr},
    {&CharacterRecord::guts, nullptr},
    {&CharacterRecord::vitality, nullptr},
    {&CharacterRecord::iq, nullptr},
    {&CharacterRecord::luck, nullptr},
    {nullptr, &CharacterRecord::hp},
    {nullptr, &CharacterRecord::pp},
};

const FieldPlace& PlaceOf(MemberField field) {
    return kPlaces[static_cast<int>(field)];
}

}  // namespace

std::int32_t ParseTypedNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{1} << 32);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

const MemberFieldInfo (&MemberFields())[kMemberFieldCount] {
    return kFields;
}

std::optional<MemberField> MemberFieldByKey(std::string_view key) {
    for (const MemberFieldInfo& info : kFields) {
        if (key == info.key) {
            return info.field;
        }
    }
    return std::nullopt;
}

std::string ShownMemberField(const CharacterRecord& member, MemberField field) {
    if (field == MemberField::kName) {
        return TextOf(member.name);
    }
    const FieldPlace& place = PlaceOf(field);
    return place.byte != nullptr ? std::to_string(member.*place.byte)
                                 : std::to_string(member.*place.word);
}

void CopyMemberField(CharacterRecord& to, const CharacterRecord& from, MemberField field) {
    if (field == MemberField::kName) {
        to.name = from.name;
        return;
    }
    const FieldPlace& place = PlaceOf(field);
    if (place.byte != nullptr) {
        to.*place.byte = from.*place.byte;
    } else {
        to.*place.word = from.*place.word;
    }
}

void StoreTypedMemberField(CharacterRecord& member, MemberField field, std::string_view typed) {
    if (field == MemberField::kName) {
        StoreCutText(member.name.data(), member.name.size() - 1, typed);
        return;
    }
    const std::int32_t value =
        ClampMax(ParseTypedNumber(typed), kFields[static_cast<int>(field)].limit);
    const FieldPlace& place = PlaceOf(field);
    if (place.byte != nullptr) {
        member.*place.byte = static_cast<std::uint8_t>(value);  // -1 is stored as 255
    } else {
        member.*place.word = value;
    }
}

void StoreCutText(char* buffer, std::size_t width, std::string_view typed) {
    const std::size_t length = std::min(width, typed.size());
    std::memcpy(buffer, typed.data(), length);
    buffer[length] = '\0';
}

// Calls `use` with the buffer of the text; const-ness follows the state's.
template <typename State, typename Use>
auto WithTextBuffer(State& state, StateText text, Use use) {
    switch (text) {
        case StateText::kDogName:
            return use(state.dogName);
        case StateText::kFavoriteFood:
            return use(state.favoriteFood);
        case StateText::kPsiSpecial:
            return use(state.psiSpecial);
        case StateText::kPlayerName:
            break;
    }
    return use(state.playerName);
}

std::string ShownText(const GameState& state, StateText text) {
    return WithTextBuffer(state, text, [](const auto& buffer) { return TextOf(buffer); });
}

void CopyText(GameState& to, const GameState& from, StateText text) {
    WithTextBuffer(to, text, [&](auto& buffer) {
        WithTextBuffer(from, text, [&](const auto& source) {
            // Both are the same text's buffer; the other pairings exist only for the compiler.
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(buffer)>,
                                         std::remove_cvref_t<decltype(source)>>) {
                buffer = source;
            }
        });
    });
}

void StoreTypedText(GameState& state, StateText text, std::string_view typed) {
    WithTextBuffer(state, text, [typed](auto& buffer) {
        StoreCutText(buffer.data(), buffer.size() - 1, typed);
    });
}

}  // namespace sw
