#include "GameState.h"

#include <algorithm>

#include "FileIO.h"
#include "GameText.h"
#include "LittleEndian.h"
#include "StateFormat.h"

namespace sw {
namespace {

using namespace layout;

// Bytes of a member record that the readers look at: relative 0 up to the end of current PP.
constexpr std::size_t kMemberReadBytes = kPpRel + kPointsBytes;

template <std::size_t N>
void DecodeText(const std::uint8_t* bytes, std::size_t count, std::array<char, N>& text) {
    for (std::size_t i = 0; i < count; ++i) {
        text[i] = DecodeGameChar(bytes[i]);
    }
}

template <std::size_t N>
bool WriteText(std::FILE* file, long offset, const std::array<char, N>& text, std::size_t count) {
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = EncodeGameChar(text[i]);
    }
    return WriteAt(file, offset, bytes.data(), count);
}

bool WriteNumber(std::FILE* file, long offset, std::int64_t value, std::size_t count) {
    std::uint8_t bytes[4] = {};
    WriteLE(bytes, value, count);
    return WriteAt(file, offset, bytes, count);
}

}  // namespace

void GameState::Clear() {
    for (CharacterRecord& member : characters) {
        const std::int32_t index = member.index;
        const std::array<char, 6> name = member.name;
        member = CharacterRecord{};
        member.index = index;
        member.name = name;
        member.name[0] = '\0';
    }
    money = 0;
    bank = 0;
    playerName[0] = '\0';
    dogName[0] = '\0';
    favoriteFood[0] = '\0';
    psiSpecial[0] = '\0';
}

bool GameState::ReadCharacter(std::FILE* file, CharacterRecord& record, long shift) const {
    std::array<std::uint8_t, kMemberReadBytes> bytes{};
    const bool complete = ReadAt(file, shift + MemberBase(record.index), bytes.data(), bytes.size());
    DecodeText(bytes.data() + kNameRel, kNameBytes, record.name);
    record.name[kNameBytes] = '\0';
    record.level = bytes[kLevelRel];
    record.experience = static_cast<std::int32_t>(ReadLE(&bytes[kExperienceRel], kExperienceBytes));
    record.hpMax = static_cast<std::int32_t>(ReadLE(&bytes[kHpMaxRel], kPointsBytes));
    record.ppMax = static_cast<std::int32_t>(ReadLE(&bytes[kPpMaxRel], kPointsBytes));
    auto attributes = record.Attributes();
    for (std::size_t i = 0; i < kAttributeCount; ++i) {
        *attributes[i] = bytes[kAttributesRel + i];
    }
    std::copy_n(&bytes[kGoodsRel], kGoodsSlots, record.goods.begin());
    record.hp = static_cast<std::int32_t>(ReadLE(&bytes[kHpRel], kPointsBytes));
    record.pp = static_cast<std::int32_t>(ReadLE(&bytes[kPpRel], kPointsBytes));
    return complete;
}

bool GameState::ReadMoney(std::FILE* file, long shift) {
    // Cash, its unused fourth byte, then the bank balance.
    std::uint8_t bytes[kBankOffset - kMoneyOffset + kMoneyBytes] = {};
    const bool complete = ReadAt(file, shift + kMoneyOffset, bytes, sizeof bytes);
    money = static_cast<std::int32_t>(ReadLE(bytes, kMoneyBytes));
    bank = static_cast<std::int32_t>(ReadLE(bytes + (kBankOffset - kMoneyOffset), kMoneyBytes));
    return complete;
}

bool GameState::ReadTexts(std::FILE* file, long shift) {
    // The four texts lie back to back; the terminating character of each buffer is kept.
    std::uint8_t bytes[kPsiSpecialOffset + kPsiSpecialBytes - kPlayerNameOffset] = {};
    const bool complete = ReadAt(file, shift + kPlayerNameOffset, bytes, sizeof bytes);
    DecodeText(bytes, kPlayerNameBytes, playerName);
    DecodeText(bytes + (kDogNameOffset - kPlayerNameOffset), kDogNameBytes, dogName);
    DecodeText(bytes + (kFavoriteFoodOffset - kPlayerNameOffset), kFavoriteFoodBytes, favoriteFood);
    DecodeText(bytes + (kPsiSpecialOffset - kPlayerNameOffset), kPsiSpecialBytes, psiSpecial);
    return complete;
}

bool GameState::ReadFlags(std::FILE* file, long shift) {
    return ReadAt(file, shift + kFlagsOffset, eventFlags.data(), eventFlags.size());
}

bool GameState::WriteCharacter(std::FILE* file, CharacterRecord record, long shift) const {
    if (file == nullptr) {
        return true;
    }
    const long base = shift + MemberBase(record.index);
    bool ok = WriteText(file, base + kNameRel, record.name, kNameBytes);

    // Level, experience with its fourth byte 0, maximum HP and PP: nine bytes in a row.
    std::uint8_t block[kPpMaxRel + kPointsBytes - kLevelRel] = {};
    block[0] = record.level;
    WriteLE(&block[kExperienceRel - kLevelRel], record.experience, kExperienceBytes);
    block[kExperienceRel - kLevelRel + kExperienceBytes] = 0;
    WriteLE(&block[kHpMaxRel - kLevelRel], record.hpMax, kPointsBytes);
    WriteLE(&block[kPpMaxRel - kLevelRel], record.ppMax, kPointsBytes);
    ok = ok && WriteAt(file, base + kLevelRel, block, sizeof block);

    std::array<std::uint8_t, kAttributeCount> attributes{};
    auto fields = record.Attributes();
    for (std::size_t i = 0; i < kAttributeCount; ++i) {
        attributes[i] = *fields[i];
    }
    ok = ok && WriteAt(file, base + kAttributesRel, attributes.data(), attributes.size());
    ok = ok && WriteAt(file, base + kGoodsRel, record.goods.data(), record.goods.size());
    ok = ok && WriteNumber(file, base + kHpRel, record.hp, kPointsBytes);
    ok = ok && WriteNumber(file, base + kPpRel, record.pp, kPointsBytes);
    return Flush(file) && ok;
}

bool GameState::WriteMoney(std::FILE* file, long shift) const {
    if (file == nullptr) {
        return true;
    }
    // Cash's fourth byte is always 0, whatever the value holds above its low three bytes.
    std::uint8_t cash[kMoneyBytes + 1] = {};
    WriteLE(cash, money, kMoneyBytes);
    bool ok = WriteAt(file, shift + kMoneyOffset, cash, sizeof cash);
    ok = ok && WriteNumber(file, shift + kBankOffset, bank, kMoneyBytes);
    return Flush(file) && ok;
}

bool GameState::WriteTexts(std::FILE* file, long shift) const {
    if (file == nullptr) {
        return true;
    }
    bool ok = WriteText(file, shift + kPlayerNameOffset, playerName, kPlayerNameBytes);
    ok = ok && WriteText(file, shift + kDogNameOffset, dogName, kDogNameBytes);
    ok = ok && WriteText(file, shift + kFavoriteFoodOffset, favoriteFood, kFavoriteFoodBytes);
    ok = ok && WriteText(file, shift + kPsiSpecialOffset, psiSpecial, kPsiSpecialBytes);
    return Flush(file) && ok;
}

bool GameState::WriteFlags(std::FILE* file, long shift) const {
    if (file == nullptr) {
        return true;
    }
    const bool ok = WriteAt(file, shift + kFlagsOffset, eventFlags.data(), eventFlags.size());
    return Flush(file) && ok;
}

bool GameState::ReadAll(std::FILE* file, long shift) {
    Clear();
    bool ok = true;
    for (CharacterRecord& member : characters) {
        ok = ReadCharacter(file, member, shift) && ok;
    }
    ok = ReadMoney(file, shift) && ok;
    ok = ReadTexts(file, shift) && ok;
    return ReadFlags(file, shift) && ok;
}

int GameState::WriteAll(std::FILE* file, long shift) const {
    int written = 0;
    for (const CharacterRecord& member : characters) {
        if (!WriteCharacter(file, member, shift)) {
            return written;
        }
        ++written;
    }
    if (!WriteMoney(file, shift)) {
        return written;
    }
    if (!WriteTexts(file, shift)) {
        return written + 1;
    }
    return WriteFlags(file, shift) ? kSaveGroups : written + 2;
}

bool GameState::ReadAll(std::string_view bytes) {
    const StateRecognition found = RecognizeState(bytes);
    const long shift = found.Known() ? found.format.FieldShift() : 0;
    std::string copy(found.Known() ? found.Bytes(bytes) : bytes);
    FilePtr file = OpenMemory(copy);
    return file ? ReadAll(file.get(), shift) : (Clear(), false);
}

bool GameState::WriteAll(std::string& bytes) const {
    StateRecognition found = RecognizeState(bytes);
    if (!found.Known() || found.format.compression == StateCompression::kNone) {
        FilePtr file = OpenMemory(bytes);
        return file && WriteAll(file.get(), found.Known() ? found.format.FieldShift() : 0) ==
                           kSaveGroups;
    }
    bool written = false;
    {
        FilePtr file = OpenMemory(found.unwrapped);
        written = file && WriteAll(file.get(), found.format.FieldShift()) == kSaveGroups;
    }
    return written && WrapState(found.format, found.unwrapped, bytes);
}

int GameState::GetFlag(int n) const {
    return (eventFlags[n / 8] >> (n % 8)) & 1;
}

int GameState::ToggleFlag(int n) {
    const int before = GetFlag(n);
    eventFlags[n / 8] ^= static_cast<std::uint8_t>(1u << (n % 8));
    return before;
}

void GameState::SetFlag(int n, bool on) {
    if (GetFlag(n) != static_cast<int>(on)) {
        ToggleFlag(n);
    }
}

}  // namespace sw
