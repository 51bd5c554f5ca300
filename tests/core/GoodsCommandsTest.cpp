// The goods commands on 14 slots, the grid's arrow-key rule and the label shortening.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "GoodsCommands.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

Goods Slots(std::initializer_list<std::uint8_t> codes) {
    Goods goods{};
    std::copy(codes.begin(), codes.end(), goods.begin());
    return goods;
}

TEST(GoodsCommands, AddFillsTheFirstEmptySlotOnly) {
    Goods goods = Slots({5, 0, 7});
    EXPECT_TRUE(AddGoods(goods, 9));
    EXPECT_EQ(goods, Slots({5, 9, 7}));
    EXPECT_TRUE(AddGoods(goods, 255));
    EXPECT_EQ(goods, Slots({5, 9, 7, 255}));

    // The chooser without a selection (-1) must not become item 255.
    EXPECT_FALSE(AddGoods(goods, -1));
    EXPECT_FALSE(AddGoods(goods, 256));
    EXPECT_EQ(goods, Slots({5, 9, 7, 255}));

    Goods full;
    full.fill(3);
    EXPECT_FALSE(AddGoods(full, 9));
    EXPECT_THAT(full, ::testing::Each(3));
}

TEST(GoodsCommands, RemoveShiftsUpAndEmptiesTheLastSlot) {
    Goods goods;
    std::iota(goods.begin(), goods.end(), 1);  // 1 ... 14
    Goods first = goods;
    RemoveGoods(first, 0);
    EXPECT_THAT(first, ElementsAre(2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0));
    Goods last = goods;
    RemoveGoods(last, 13);
    EXPECT_THAT(last, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0));
    for (int outside : {-1, 14}) {
        Goods unchanged = goods;
        RemoveGoods(unchanged, outside);
        EXPECT_EQ(unchanged, goods) << outside;
    }
    RemoveAllGoods(goods);
    EXPECT_EQ(goods, Goods{});
}

TEST(GoodsCommands, NumericAndBestGiveTheListedSlots) {
    EXPECT_EQ(NumericOrder(Slots({0, 5, 0, 3, 5})), Slots({3, 5, 5}));
    EXPECT_EQ(NumericOrder(Slots({0xFF, 0, 1})), Slots({1, 0xFF}));
    EXPECT_EQ(BestGoods(2), Slots({0x30, 0x3E, 0x48, 0x56, 0x86, 0x92, 0x92, 0x92, 0x92, 0x92, 0x92,
                                   0x92, 0x92, 0x92}));
    EXPECT_EQ(BestGoods(0), Slots({0xB1, 0xB5, 0xC4, 0x1A, 0x3E, 0x48, 0x56, 0x01, 0x82, 0x82, 0x61,
                                   0x61, 0x61, 0x61}));
    EXPECT_EQ(BestGoods(3)[13], 0x82);
    EXPECT_EQ(BestGoods(-1), Goods{});
    EXPECT_EQ(BestGoods(4), Goods{});
}

TEST(GoodsCommands, AlphaSortsByNameIgnoringCase) {
    ItemNameTable names;
    names.fill("zz");
    names[1] = "pear";
    names[2] = "Apple";
    names[3] = "banana";
    names[4] = "apple";  // equal to 2 but for case: the lower code comes first
    names[5] =
        "\xC9"
        "clair";  // É sorts as é, after the plain letters
    EXPECT_EQ(AlphaOrder(Slots({1, 0, 5, 3, 4, 2, 1}), names), Slots({2, 4, 3, 1, 1, 5}));
}

// Both sorts keep every occupied code, put empties last, and change nothing a second time.
TEST(GoodsCommands, SortsOnRandomSlotsKeepEveryItem) {
    std::mt19937 random(1234);
    ItemNameTable names;
    for (int code = 0; code < 256; ++code) {
        names[code] = std::string(1, static_cast<char>('a' + random() % 26)) +
                      std::string(1, static_cast<char>('A' + random() % 26));
    }
    for (int round = 0; round < 200; ++round) {
        Goods goods;
        for (std::uint8_t& code : goods) {
            code = random() % 3 == 0 ? 0 : static_cast<std::uint8_t>(random() % 256);
        }
        for (const Goods& sorted : {NumericOrder(goods), AlphaOrder(goods, names)}) {
            Goods a = goods, b = sorted;
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            ASSERT_EQ(a, b);
            const auto firstEmpty = std::find(sorted.begin(), sorted.end(), 0);
            ASSERT_TRUE(std::all_of(firstEmpty, sorted.end(), [](int c) { return c == 0; }));
        }
        const Goods numeric = NumericOrder(goods);
        ASSERT_TRUE(std::is_sorted(numeric.begin(), std::find(numeric.begin(), numeric.end(), 0)));
        ASSERT_EQ(NumericOrder(numeric), numeric);
        const Goods alpha = AlphaOrder(goods, names);
        ASSERT_EQ(AlphaOrder(alpha, names), alpha);
        // Equal codes stand together.
        for (int i = 1; i < 14; ++i) {
            if (alpha[i] != 0 && alpha[i] != alpha[i - 1]) {
                ASSERT_EQ(std::find(alpha.begin() + i, alpha.end(), alpha[i - 1]), alpha.end());
            }
        }
    }
}

TEST(GoodsCommands, ArrowKeysStopAtTheGridsEdges) {
    for (int slot = 0; slot < 14; ++slot) {
        const bool left = slot % 2 == 0, top = slot < 2, bottom = slot >= 12;
        EXPECT_EQ(SlotAfterKey(slot, GridKey::kLeft), left ? slot : slot - 1) << slot;
        EXPECT_EQ(SlotAfterKey(slot, GridKey::kRight), left ? slot + 1 : slot) << slot;
        EXPECT_EQ(SlotAfterKey(slot, GridKey::kUp), top ? slot : slot - 2) << slot;
        EXPECT_EQ(SlotAfterKey(slot, GridKey::kDown), bottom ? slot : slot + 2) << slot;
        EXPECT_EQ(SlotAfterKey(slot, GridKey::kOther), slot);
    }
    // Without a current slot only Right and Down move (C's remainder of -1 is -1).
    EXPECT_EQ(SlotAfterKey(-1, GridKey::kRight), 0);
    EXPECT_EQ(SlotAfterKey(-1, GridKey::kDown), 1);
    EXPECT_EQ(SlotAfterKey(-1, GridKey::kLeft), -1);
    EXPECT_EQ(SlotAfterKey(-1, GridKey::kUp), -1);
}

TEST(GoodsCommands, LabelsLoseOneCharacterARoundUntilTheyFit) {
    const auto width = [](const std::string& label) { return static_cast<int>(label.size()) * 10; };
    EXPECT_EQ(ShortenedLabel("Ink Pot", width), "Ink Pot");
    EXPECT_EQ(ShortenedLabel("Lantern Oil", width, 110), "Lantern Oil");
    // 95 px holds nine characters: six of the name and the dots.
    EXPECT_EQ(ShortenedLabel("Lantern Oil", width), "Lanter...");
    EXPECT_EQ(ShortenedLabel("Bramble Staff", width), "Brambl...");
    // At most 30 rounds: a 60-character name keeps 30 of them, however wide that is.
    EXPECT_EQ(ShortenedLabel(std::string(60, 'x'), width), std::string(30, 'x') + "...");
    // A label that never fits stops when nothing of the name is left.
    EXPECT_EQ(ShortenedLabel("abc", [](const std::string&) { return 1000; }), "...");
}

}  // namespace
}  // namespace sw::test
