// Byte layouts of the files the editor touches: the emulator save state, the game ROM and
// our configuration snapshot. Every offset the program reads or writes is named here once.
#pragma once

#include <cstddef>
#include <cstdint>

// The tables below are aligned by hand.
// clang-format off
namespace sw::layout {

// ---- Save state -------------------------------------------------------------------------------

// 16 bytes at 0x0000: "ZSNES Save State" identifies the file; byte 16 is never looked at.
inline constexpr char kStateHeader[] = "ZSNES Save State";
inline constexpr std::size_t kStateHeaderSize = 16;

// The offsets below are a ZSNES 1.43 state's. Its console work RAM (128 KiB) begins at 3091,
// so a field at offset X lies at work RAM offset X - 3091, which is where every other
// emulator's state has it, after its own framing.
inline constexpr long kZsnesWramOffset = 3091;
inline constexpr long kWramBytes = 131072;

// 24 bytes at 0xA414: player name, game text encoding.
inline constexpr long kPlayerNameOffset = 42004;
inline constexpr std::size_t kPlayerNameBytes = 24;
// 6 bytes at 0xA42C: dog's name (read straight on from the player name).
inline constexpr long kDogNameOffset = 42028;
inline constexpr std::size_t kDogNameBytes = 6;
// 6 bytes at 0xA432: favourite food.
inline constexpr long kFavoriteFoodOffset = 42034;
inline constexpr std::size_t kFavoriteFoodBytes = 6;
// 10 bytes at 0xA438: name of the special psychic power.
inline constexpr long kPsiSpecialOffset = 42040;
inline constexpr std::size_t kPsiSpecialBytes = 10;

// 3 bytes at 0xA444: cash on hand, little-endian; 0xA447 is its unused fourth byte (written 0).
inline constexpr long kMoneyOffset = 42052;
// 3 bytes at 0xA448: bank balance, little-endian; 0xA44B is never touched.
inline constexpr long kBankOffset = 42056;
inline constexpr std::size_t kMoneyBytes = 3;

// Member record of slot s starts at 95 * (447 + s): 0xA5E1, 0xA640, 0xA69F, 0xA6FE.
inline constexpr long kMemberStride = 95;
inline constexpr long kMemberFirstRecord = 447;
inline constexpr int kMemberCount = 4;
inline constexpr long MemberBase(int slot) { return kMemberStride * (kMemberFirstRecord + slot); }

// Fields of a member record, relative to its start.
inline constexpr long kNameRel = 0;          // 5 bytes: name, game text encoding
inline constexpr std::size_t kNameBytes = 5;
inline constexpr long kLevelRel = 5;         // 1 byte: level
inline constexpr long kExperienceRel = 6;    // 3 bytes LE: experience; byte 9 is written as 0
inline constexpr std::size_t kExperienceBytes = 3;
inline constexpr long kHpMaxRel = 10;        // 2 bytes LE: maximum HP
inline constexpr long kPpMaxRel = 12;        // 2 bytes LE: maximum PP
inline constexpr long kAttributesRel = 21;   // 7 bytes: offense ... iq, in file order
inline constexpr std::size_t kAttributeCount = 7;
inline constexpr long kGoodsRel = 35;        // 14 bytes: item codes, 0 = empty slot
inline constexpr std::size_t kGoodsSlots = 14;
inline constexpr long kHpRel = 71;           // 2 bytes LE: current HP
inline constexpr long kPpRel = 77;           // 2 bytes LE: current PP
inline constexpr std::size_t kPointsBytes = 2;  // width of each HP and PP field

// 128 bytes at 0xA81B: 1024 event flags, flag n = bit (n % 8) of byte n / 8.
inline constexpr long kFlagsOffset = 43035;
inline constexpr std::size_t kFlagBytes = 128;
inline constexpr int kFlagCount = 1024;

// The last field byte is 0xA89A, so a usable state holds at least this many bytes.
inline constexpr long kMinStateSize = 43163;

// ---- ROM image -------------------------------------------------------------------------------
// Offsets are those of a ROM with a 512-byte copier header (the .smc the game was dumped as);
// in a ROM without one (most .sfc files) everything lies this much earlier. The title tells
// which one a file is.
inline constexpr long kRomCopierHeaderBytes = 512;

// 11 bytes at 0x101C0 (0xFFC0 in the cartridge, the header's title): the game's internal title.
inline constexpr long kRomTitleOffset = 65984;
inline constexpr char kRomTitle[] = "VELLUM GATE";
inline constexpr std::size_t kRomTitleBytes = 11;
inline constexpr long kMinRomSizeForTitle = kRomTitleOffset + static_cast<long>(kRomTitleBytes);

// 256 records of 39 bytes from 0x155200: item names, game text encoding, 0x00 or 0x30 ends.
inline constexpr long kItemNamesOffset = 1397248;
inline constexpr long kItemNameRecordBytes = 39;
inline constexpr int kItemCount = 256;
inline constexpr std::size_t kMaxItemNameLength = 38;  // one byte is left for the terminator
inline constexpr long ItemNameRecordOffset(int code) {
    return kItemNamesOffset + kItemNameRecordBytes * code;
}

// ---- Configuration snapshot (.swr) -----------------------------------------------------------

inline constexpr long kConfigMemberBytes = 39;  // one block per member, members 0-3
inline constexpr long kConfigNameRel = 0;       // 6 bytes: whole name buffer
inline constexpr long kConfigLevelRel = 6;      // 1 byte
inline constexpr long kConfigExperienceRel = 7; // 3 bytes LE
inline constexpr long kConfigHpMaxRel = 10;     // 2 bytes LE
inline constexpr long kConfigPpMaxRel = 12;     // 2 bytes LE
inline constexpr long kConfigAttributesRel = 14;  // 7 bytes, same order as the save state
inline constexpr long kConfigGoodsRel = 21;     // 14 bytes
inline constexpr long kConfigHpRel = 35;        // 2 bytes LE
inline constexpr long kConfigPpRel = 37;        // 2 bytes LE
inline constexpr long kConfigMoneyOffset = 156;         // 3 bytes LE
inline constexpr long kConfigBankOffset = 159;          // 3 bytes LE
inline constexpr long kConfigPlayerNameOffset = 162;    // 24 bytes (terminator slot not stored)
inline constexpr long kConfigDogNameOffset = 186;       // 7 bytes: whole buffer
inline constexpr long kConfigFavoriteFoodOffset = 193;  // 7 bytes: whole buffer
inline constexpr long kConfigPsiSpecialOffset = 200;    // 11 bytes: whole buffer
inline constexpr long kConfigFlagsOffset = 211;         // 128 bytes
inline constexpr long kConfigReadBytes = 339;           // everything a reader looks at
inline constexpr long kConfigFileBytes = 2259;          // flags padded with zeros to 2,048 bytes

}  // namespace sw::layout
// clang-format on
