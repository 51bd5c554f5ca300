// The two goods secrets checked after every load and save: the first member carrying the
// secret item gets a message, and anyone carrying something called a pickle gets a story.
#pragma once

#include <cstdint>
#include <string>

#include "GameState.h"
#include "ItemNames.h"

namespace sw {

inline constexpr std::uint8_t kSecretItemCode = 206;  // 0xCE

// Whether any of the first member's 14 goods slots holds the secret item.
bool CarriesSecretItem(const GameState& state);

// " an " before a name starting with a, e, i, o or u in either case, otherwise " a " (also
// for an empty name).
std::string SecretItemArticle(const std::string& name);

// The message for the first member carrying the secret item. Latin-1 bytes: the face at the
// end of its first paragraph is made of two negation signs (0xAC).
std::string GoodsSecretMessage(const std::string& memberName, const std::string& itemName);

// Whether any goods slot of any member names an item whose current name contains "pickle" in
// any letter case; renamed items count by their new names.
bool CarriesPickle(const GameState& state, const ItemNameTable& names);

}  // namespace sw
