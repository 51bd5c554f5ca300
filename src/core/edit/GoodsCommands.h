// The Goods page's commands on a member's 14 goods slots (item codes, 0 = empty), and the rules
// of its grid: moving the current slot with the arrow keys and shortening labels to fit.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "ItemNames.h"
#include "Layout.h"

namespace sw {

using Goods = std::array<std::uint8_t, layout::kGoodsSlots>;
inline constexpr int kGoodsSlotCount = static_cast<int>(layout::kGoodsSlots);

// Puts the code into the first empty slot; false (nothing changed) when every slot is taken
// or the code is not 0-255 (the chooser without a selection gives -1).
bool AddGoods(Goods& goods, int code);
// Slots behind `slot` move up one and the last slot empties; nothing for a slot outside 0-13.
void RemoveGoods(Goods& goods, int slot);
void RemoveAllGoods(Goods& goods);

// Occupied slots in ascending code order, empties last.
Goods NumericOrder(const Goods& goods);
// Occupied slots in the order of their names, compared without regard to case as a sorted list
// compares them (equal names: lower code first, so equal codes stay together), empties last.
Goods AlphaOrder(const Goods& goods, const ItemNameTable& names);

// The fixed set of best goods for member 0-3; all empty for another index.
Goods BestGoods(int member);

// The grid has two columns and seven rows: slot i at row i / 2, column i % 2.
enum class GridKey { kLeft, kUp, kRight, kDown, kOther };
// The current slot after an arrow key; it stays put at the grid's edges (and -1 goes to 0 on
// Right, as the list's own movement does from no selection).
int SlotAfterKey(int slot, GridKey key);

// A label that fits: while `width(label)` exceeds `maxWidth` (at most 30 rounds), the name
// loses its last character and the label becomes what is left + "...".
using LabelWidth = std::function<int(const std::string&)>;
inline constexpr int kGoodsLabelMaxWidth = 95;
std::string ShortenedLabel(const std::string& name, const LabelWidth& width,
                           int maxWidth = kGoodsLabelMaxWidth);

}  // namespace sw
