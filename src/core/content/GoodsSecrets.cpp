#include "GoodsSecrets.h"

#include <algorithm>
#include <string_view>

#include "Latin1Case.h"

namespace sw {

bool CarriesSecretItem(const GameState& state) {
    const auto& goods = state.characters[0].goods;
    return std::find(goods.begin(), goods.end(), kSecretItemCode) != goods.end();
}

std::string SecretItemArticle(const std::string& name) {
    constexpr std::string_view kVowels = "aeiouAEIOU";
    const bool vowel = !name.empty() && kVowels.find(name.front()) != std::string_view::npos;
    return vowel ? " an " : " a ";
}

std::string GoodsSecretMessage(const std::string& memberName, const std::string& itemName) {
    return "Hey, you found one of the secret dealies hidden within this program. If you're "
           "seeing this, it means you gave " +
           memberName + SecretItemArticle(itemName) + itemName +
           ". Of course, this was the easy secret. You'll never find the others. \xAC_\xAC"
           "\r\n\r\n"
           "(HINT: They don't in any way whatsoever involve pickles or the Marigolds.)"
           "\r\n\r\n"
           "Oh, and don't bother looking in the .dat file. They're not there either.";
}

bool CarriesPickle(const GameState& state, const ItemNameTable& names) {
    for (const CharacterRecord& member : state.characters) {
        for (std::uint8_t code : member.goods) {
            if (LowerLatin1(names[code]).find("pickle") != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace sw
