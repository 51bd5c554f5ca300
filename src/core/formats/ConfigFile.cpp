#include "ConfigFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "FileIO.h"
#include "LittleEndian.h"
#include "Messages.h"
#include "StateCheck.h"

namespace sw {
namespace {

using namespace layout;
using Snapshot = std::array<std::uint8_t, kConfigFileBytes>;

template <std::size_t N>
void PutBytes(Snapshot& out, long offset, const std::array<char, N>& text, std::size_t count) {
    std::memcpy(&out[offset], text.data(), count);
}

template <std::size_t N>
void GetBytes(const Snapshot& in, long offset, std::array<char, N>& text, std::size_t count) {
    std::memcpy(text.data(), &in[offset], count);
}

Snapshot Encode(const GameState& state) {
    Snapshot out{};
    for (int k = 0; k < kMemberCount; ++k) {
        const CharacterRecord& member = state.characters[k];
        const long block = kConfigMemberBytes * k;
        PutBytes(out, block + kConfigNameRel, member.name, member.name.size());
        out[block + kConfigLevelRel] = member.level;
        WriteLE(&out[block + kConfigExperienceRel], member.experience, 3);
        WriteLE(&out[block + kConfigHpMaxRel], member.hpMax, 2);
        WriteLE(&out[block + kConfigPpMaxRel], member.ppMax, 2);
        const auto attributes = member.Attributes();
        for (std::size_t i = 0; i < kAttributeCount; ++i) {
            out[block + kConfigAttributesRel + i] = *attributes[i];
        }
        std::copy(member.goods.begin(), member.goods.end(), &out[block + kConfigGoodsRel]);
        WriteLE(&out[block + kConfigHpRel], member.hp, 2);
        WriteLE(&out[block + kConfigPpRel], member.pp, 2);
    }
    WriteLE(&out[kConfigMoneyOffset], state.money, 3);
    WriteLE(&out[kConfigBankOffset], state.bank, 3);
    PutBytes(out, kConfigPlayerNameOffset, state.playerName, kPlayerNameBytes);
    PutBytes(out, kConfigDogNameOffset, state.dogName, state.dogName.size());
    PutBytes(out, kConfigFavoriteFoodOffset, state.favoriteFood, state.favoriteFood.size());
    PutBytes(out, kConfigPsiSpecialOffset, state.psiSpecial, state.psiSpecial.size());
    std::copy(state.eventFlags.begin(), state.eventFlags.end(), &out[kConfigFlagsOffset]);
    return out;  // the rest of the 2,048-byte flag area stays zero
}

void Decode(const Snapshot& in, GameState& state) {
    for (int k = 0; k < kMemberCount; ++k) {
        CharacterRecord& member = state.characters[k];
        const long block = kConfigMemberBytes * k;
        GetBytes(in, block + kConfigNameRel, member.name, member.name.size());
        member.level = in[block + kConfigLevelRel];
        member.experience = static_cast<std::int32_t>(ReadLE(&in[block + kConfigExperienceRel], 3));
        member.hpMax = static_cast<std::int32_t>(ReadLE(&in[block + kConfigHpMaxRel], 2));
        member.ppMax = static_cast<std::int32_t>(ReadLE(&in[block + kConfigPpMaxRel], 2));
        auto attributes = member.Attributes();
        for (std::size_t i = 0; i < kAttributeCount; ++i) {
            *attributes[i] = in[block + kConfigAttributesRel + i];
        }
        std::copy_n(&in[block + kConfigGoodsRel], kGoodsSlots, member.goods.begin());
        member.hp = static_cast<std::int32_t>(ReadLE(&in[block + kConfigHpRel], 2));
        member.pp = static_cast<std::int32_t>(ReadLE(&in[block + kConfigPpRel], 2));
        member.name.back() = '\0';  // a foreign file must not leave a text unterminated
    }
    state.money = static_cast<std::int32_t>(ReadLE(&in[kConfigMoneyOffset], 3));
    state.bank = static_cast<std::int32_t>(ReadLE(&in[kConfigBankOffset], 3));
    GetBytes(in, kConfigPlayerNameOffset, state.playerName, kPlayerNameBytes);
    GetBytes(in, kConfigDogNameOffset, state.dogName, state.dogName.size());
    GetBytes(in, kConfigFavoriteFoodOffset, state.favoriteFood, state.favoriteFood.size());
    GetBytes(in, kConfigPsiSpecialOffset, state.psiSpecial, state.psiSpecial.size());
    state.dogName.back() = '\0';
    state.favoriteFood.back() = '\0';
    state.psiSpecial.back() = '\0';
    std::copy_n(&in[kConfigFlagsOffset], kFlagBytes, state.eventFlags.begin());
}

}  // namespace

bool WriteConfigFile(const std::string& path, const GameState& state, Prompter& prompter,
                     const std::vector<std::string>& openFiles) {
    for (const std::string& open : openFiles) {
        if (!open.empty() && SameFile(path, open)) {
            prompter.ShowMessage(msg::kConfigNotOverOpenFile);
            return false;
        }
    }
    if (IsSaveState(path)) {
        prompter.ShowMessage(msg::kConfigNotOverState);
        return false;
    }
    if (RomTitleMatches(path)) {
        prompter.ShowMessage(msg::kConfigNotOverRom);
        return false;
    }
    const Snapshot bytes = Encode(state);
    FileProblem problem;
    // A longer file keeps its tail; a new one never exists half written or empty.
    if (!ReplaceFileStart(path, AsChars(bytes), problem)) {
        prompter.ShowMessage(std::string(msg::kConfigWriteFailed) + Describe(path, problem));
        return false;
    }
    return true;
}

ConfigRead ReadConfigFile(const std::string& path, GameState& state, Prompter& prompter) {
    FileProblem problem;
    FilePtr file = OpenExisting(path, FileAccess::kRead, problem);
    if (!file) {
        prompter.ShowMessage(std::string(msg::kConfigReadFailed) + Describe(path, problem));
        return ConfigRead::kCannotOpen;
    }
    // A state or ROM is long enough to pass for one, and would load nonsense into every field.
    const bool isState = IsSaveState(path);
    if (isState || RomTitleMatches(path)) {
        problem.reason = isState ? "it is a save state, not a configuration"
                                 : "it is a game ROM, not a configuration";
        prompter.ShowMessage(std::string(msg::kConfigReadFailed) + Describe(path, problem));
        return ConfigRead::kCannotOpen;
    }
    Snapshot bytes{};
    const std::size_t got = std::fread(bytes.data(), 1, kConfigReadBytes, file.get());
    if (std::ferror(file.get()) != 0) {
        problem = {errno, LastErrorText()};
        prompter.ShowMessage(std::string(msg::kConfigReadFailed) + Describe(path, problem));
        return ConfigRead::kCannotOpen;
    }
    if (got < static_cast<std::size_t>(kConfigReadBytes)) {
        prompter.ShowMessage(msg::kConfigTooShort);
        return ConfigRead::kTooShort;
    }
    Decode(bytes, state);
    return ConfigRead::kLoaded;
}

}  // namespace sw
