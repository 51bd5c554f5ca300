// SHA-256, for the ROM hash that bsnes states carry: with the ROM beside the state, it names
// the ROM the state was made with exactly.
#pragma once

#include <string>
#include <string_view>

namespace sw {

// Lower-case hex, as bsnes writes it.
std::string Sha256Hex(std::string_view bytes);

}  // namespace sw
