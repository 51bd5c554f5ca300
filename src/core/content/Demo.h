// Our synthetic demo files: a save state laid out as the emulator writes it (format 1.43) with
// our own party in it, and a ROM image with the game's title and item-name table. No real game
// data is involved; tests and the README's run command use these same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

inline constexpr long kDemoStateSize = 275291;
inline constexpr long kDemoRomSize = 3146240;
inline constexpr char kDemoStateName[] = "vellumgate.zs1";
inline constexpr char kDemoRomName[] = "vellumgate.smc";

std::vector<std::uint8_t> MakeDemoState();
std::vector<std::uint8_t> MakeDemoRom();

// Writes DIR/vellumgate.zs1 and DIR/vellumgate.smc (the folder must exist). On failure returns
// false and says why in `error`.
bool WriteDemoFiles(const std::string& dir, std::string& error);

}  // namespace sw
