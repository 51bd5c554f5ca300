// The four tab pages, as the document code reaches them.
#pragma once

namespace sw::ui {

class StatsPage;
class GoodsPage;
class MiscPage;
class EventFlagsPage;

struct Pages {
    StatsPage* stats;
    GoodsPage* goods;
    MiscPage* misc;
    EventFlagsPage* flags;
};

}  // namespace sw::ui
