#include "Demo.h"

#include <cstring>
#include <string>
#include <vector>

#include "FileIO.h"
#include "GameState.h"
#include "ItemNames.h"
#include "Layout.h"
#include "PathRules.h"
#include "ReadBack.h"

namespace sw {
namespace {

using namespace layout;

// Emulator state file 1.43: 28-byte header, then the 128 KiB work RAM from 0xC13, which puts
// the game's fields at their fixed offsets; the cartridge SRAM (8 KiB) closes the file.
constexpr char kZsnesHeader[] = "ZSNES Save State File V143\x1A\x8F";
constexpr std::size_t kZsnesHeaderBytes = 28;

// Bytes nobody edits get a fixed pseudo-random pattern, so that a stray write shows.
void FillPattern(std::vector<std::uint8_t>& bytes, std::uint32_t seed) {
    std::uint32_t x = seed;
    for (std::uint8_t& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<std::uint8_t>(x >> 24);
    }
}

struct DemoMember {
    const char* name;
    int level, experience, hp, hpMax, pp, ppMax;
    int offense, defense, speed, guts, luck, vitality, iq;
    std::uint8_t goods[kGoodsSlots];
};

constexpr DemoMember kParty[kMemberCount] = {
    {"Wren",
     23,
     31450,
     178,
     192,
     0,
     0,
     61,
     58,
     27,
     34,
     9,
     30,
     14,
     {0x15, 0x3E, 0x44, 0x52, 0x01, 0x82, 0x82, 0x61, 0x5E, 0xB3, 0xC1, 0x00, 0x00, 0x00}},
    {"Odile",
     21,
     27780,
     121,
     139,
     96,
     112,
     35,
     44,
     30,
     13,
     12,
     18,
     37,
     {0x20, 0x3E, 0x45, 0x4F, 0x03, 0x94, 0x94, 0x73, 0x81, 0xA9, 0x00, 0x00, 0x00, 0x00}},
    {"Tobi",
     20,
     25011,
     133,
     140,
     48,
     75,
     29,
     41,
     24,
     21,
     8,
     22,
     42,
     {0x2C, 0x3E, 0x43, 0x4D, 0x92, 0x92, 0x92, 0x90, 0x9E, 0xAC, 0x6A, 0x00, 0x00, 0x00}},
    {"Pell",
     18,
     19880,
     149,
     149,
     60,
     83,
     46,
     52,
     40,
     28,
     21,
     33,
     25,
     {0x33, 0x3F, 0x49, 0x57, 0xB9, 0x64, 0x64, 0x8C, 0xEE, 0xD6, 0x00, 0x00, 0x00, 0x00}},
};

// Flag indexes 0-1023 that the demo party has passed.
constexpr int kSetFlags[] = {0,   1,   2,   3,   5,   8,   9,   12,  15,  16,  17,   20,  31,  32,
                             33,  47,  64,  65,  66,  100, 101, 127, 128, 200, 255,  256, 300, 301,
                             302, 399, 400, 511, 512, 600, 700, 767, 800, 900, 1000, 1023};

}  // namespace

std::vector<std::uint8_t> MakeDemoState() {
    std::vector<std::uint8_t> bytes(kDemoStateSize);
    FillPattern(bytes, 0x5EED1E57u);
    std::memcpy(bytes.data(), kZsnesHeader, kZsnesHeaderBytes);
    // The game clears its text buffers with zeros behind each name.
    std::memset(&bytes[kPlayerNameOffset], 0,
                kPsiSpecialOffset + kPsiSpecialBytes - kPlayerNameOffset);
    for (int slot = 0; slot < kMemberCount; ++slot) {
        std::memset(&bytes[MemberBase(slot)], 0, kNameBytes);
    }

    GameState state;
    for (int slot = 0; slot < kMemberCount; ++slot) {
        const DemoMember& d = kParty[slot];
        CharacterRecord& m = state.characters[slot];
        m.index = slot;
        StoreCutText(m.name.data(), kNameBytes, d.name);
        m.level = static_cast<std::uint8_t>(d.level);
        m.experience = d.experience;
        m.hp = d.hp;
        m.hpMax = d.hpMax;
        m.pp = d.pp;
        m.ppMax = d.ppMax;
        const int attributes[kAttributeCount] = {d.offense, d.defense,  d.speed, d.guts,
                                                 d.luck,    d.vitality, d.iq};
        auto fields = m.Attributes();
        for (std::size_t i = 0; i < kAttributeCount; ++i) {
            *fields[i] = static_cast<std::uint8_t>(attributes[i]);
        }
        std::memcpy(m.goods.data(), d.goods, kGoodsSlots);
    }
    state.money = 4812;
    state.bank = 23370;
    StoreTypedText(state, StateText::kPlayerName, "Marlowe");
    StoreTypedText(state, StateText::kDogName, "Pip");
    StoreTypedText(state, StateText::kFavoriteFood, "Scones");
    StoreTypedText(state, StateText::kPsiSpecial, "Inkstorm");
    for (int flag : kSetFlags) {
        state.SetFlag(flag, true);
    }

    // Let the record's own writers put the fields in place, through a memory stream.
    std::string text(bytes.begin(), bytes.end());
    if (FilePtr memory = OpenMemory(text)) {
        state.WriteAll(memory.get());
    }
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> MakeDemoRom() {
    std::vector<std::uint8_t> bytes(kDemoRomSize);
    FillPattern(bytes, 0x0DDBA11u);
    // The internal header's title field: 21 bytes, the title padded with spaces.
    std::memset(&bytes[kRomTitleOffset], ' ', 21);
    std::memcpy(&bytes[kRomTitleOffset], kRomTitle, kRomTitleBytes);
    const ItemNameTable& names = DefaultItemNames();
    for (int code = 0; code < kItemCount; ++code) {
        std::uint8_t* record = &bytes[ItemNameRecordOffset(code)];
        std::memset(record, 0x30, kItemNameRecordBytes);
        if (names[code] == kBlankItemName) {
            continue;  // an empty record reads as "<blank>"
        }
        for (std::size_t k = 0; k < names[code].size() && k < kMaxItemNameLength; ++k) {
            record[k] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(names[code][k]) + 0x30);
        }
    }
    return bytes;
}

bool WriteDemoFiles(const std::string& dir, std::string& error) {
    const std::string folder = dir.empty() || dir.find_last_of(kPathSeparators) == dir.size() - 1
                                   ? dir
                                   : dir + kPathSeparator;
    for (const auto& [name, bytes] :
         {std::pair{kDemoStateName, MakeDemoState()}, std::pair{kDemoRomName, MakeDemoRom()}}) {
        const std::string path = folder + name;
        FileProblem problem;
        if (!ReplaceFile(path, AsChars(bytes), problem)) {
            error = Describe(path, problem);
            return false;
        }
    }
    return true;
}

}  // namespace sw
