#include "GoodsCommands.h"

#include <algorithm>
#include <numeric>

#include "Latin1Case.h"

namespace sw {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(LowerLatin1(x)) <
               static_cast<unsigned char>(LowerLatin1(y));
    });
}

// Occupied slots first, in the order `before` gives their codes; the stable sort keeps the
// slot order among equal keys.
template <typename Before>
Goods OccupiedFirst(const Goods& goods, Before before) {
    Goods sorted = goods;
    std::stable_sort(sorted.begin(), sorted.end(), [&](std::uint8_t a, std::uint8_t b) {
        if (a == 0 || b == 0) {
            return b == 0 && a != 0;
        }
        return before(a, b);
    });
    return sorted;
}

constexpr Goods kBestGoods[4] = {
    {0xB1, 0xB5, 0xC4, 0x1A, 0x3E, 0x48, 0x56, 0x01, 0x82, 0x82, 0x61, 0x61, 0x61, 0x61},
    {0x22, 0x3E, 0x48, 0x50, 0x03, 0x03, 0x82, 0x82, 0x61, 0x61, 0x94, 0x94, 0x94, 0x94},
    {0x30, 0x3E, 0x48, 0x56, 0x86, 0x92, 0x92, 0x92, 0x92, 0x92, 0x92, 0x92, 0x92, 0x92},
    {0x23, 0x3F, 0x49, 0x57, 0xB9, 0xD0, 0x64, 0x64, 0x64, 0x64, 0xF6, 0xF6, 0x82, 0x82},
};

constexpr int kShortenRounds = 30;

}  // namespace

bool AddGoods(Goods& goods, int code) {
    if (code < 0 || code > 255) {
        return false;
    }
    const auto empty = std::find(goods.begin(), goods.end(), 0);
    if (empty == goods.end()) {
        return false;
    }
    *empty = static_cast<std::uint8_t>(code);
    return true;
}

void RemoveGoods(Goods& goods, int slot) {
    if (slot < 0 || slot >= kGoodsSlotCount) {
        return;
    }
    std::copy(goods.begin() + slot + 1, goods.end(), goods.begin() + slot);
    goods.back() = 0;
}

void RemoveAllGoods(Goods& goods) {
    goods.fill(0);
}

Goods NumericOrder(const Goods& goods) {
    return OccupiedFirst(goods, [](std::uint8_t a, std::uint8_t b) { return a < b; });
}

Goods AlphaOrder(const Goods& goods, const ItemNameTable& names) {
    // The rank of every code in the sorted list of all 256 names.
    std::array<int, 256> order{};
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return LessIgnoringCase(names[a], names[b]); });
    std::array<int, 256> rank{};
    for (int position = 0; position < 256; ++position) {
        rank[order[position]] = position;
    }
    return OccupiedFirst(goods, [&](std::uint8_t a, std::uint8_t b) { return rank[a] < rank[b]; });
}

Goods BestGoods(int member) {
    return member >= 0 && member < 4 ? kBestGoods[member] : Goods{};
}

int SlotAfterKey(int slot, GridKey key) {
    // The remainder takes the slot's sign, as C's % does: -1 % 2 is -1, so -1 moves Right.
    switch (key) {
        case GridKey::kLeft:
            return slot % 2 == 1 ? slot - 1 : slot;
        case GridKey::kUp:
            return slot >= 2 ? slot - 2 : slot;
        case GridKey::kRight:
            return slot % 2 != 1 ? slot + 1 : slot;
        case GridKey::kDown:
            return slot < kGoodsSlotCount - 2 ? slot + 2 : slot;
        case GridKey::kOther:
            break;
    }
    return slot;
}

std::string ShortenedLabel(const std::string& name, const LabelWidth& width, int maxWidth) {
    std::string kept = name;
    std::string label = name;
    for (int round = 0; round < kShortenRounds && !kept.empty(); ++round) {
        if (width(label) <= maxWidth) {
            break;
        }
        kept.pop_back();
        label = kept + "...";
    }
    return label;
}

}  // namespace sw
