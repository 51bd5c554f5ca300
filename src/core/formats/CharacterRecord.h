// One party member as the editor holds it: texts decoded, numbers as plain values.
#pragma once

#include <array>
#include <cstdint>

#include "Layout.h"

namespace sw {

struct CharacterRecord {
    std::int32_t index = 0;      // slot 0-3 in the save state
    std::array<char, 6> name{};  // up to 5 characters and a terminating 0
    std::uint8_t level = 0;
    std::int32_t experience = 0;  // the file holds 0-16,777,215
    std::int32_t hpMax = 0;
    std::int32_t ppMax = 0;
    std::uint8_t offense = 0;  // the seven attributes, in file order
    std::uint8_t defense = 0;
    std::uint8_t speed = 0;
    std::uint8_t guts = 0;
    std::uint8_t luck = 0;
    std::uint8_t vitality = 0;
    std::uint8_t iq = 0;
    std::array<std::uint8_t, layout::kGoodsSlots> goods{};  // item codes, 0 = empty
    std::int32_t hp = 0;
    std::int32_t pp = 0;

    // The attributes in file order (offense ... iq), for code that walks them as a block.
    std::array<std::uint8_t*, layout::kAttributeCount> Attributes() {
        return {&offense, &defense, &speed, &guts, &luck, &vitality, &iq};
    }
    std::array<const std::uint8_t*, layout::kAttributeCount> Attributes() const {
        return {&offense, &defense, &speed, &guts, &luck, &vitality, &iq};
    }
};

}  // namespace sw
