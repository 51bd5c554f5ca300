// Moves GameState onto the pages and back: which control shows which field, how numbers are
// shown and read back with their limits, and switching the member shown.
#pragma once

#include <QString>
#include <string>

#include "CharacterRecord.h"
#include "GameState.h"
#include "document/Pages.h"

namespace sw::ui {

class PageTransfer {
public:
    PageTransfer(GameState& state, Pages pages);

    void FillPages();
    void FillStatsPage(CharacterRecord record);
    void FillMoney(GameState state);
    void FillMiscTexts(GameState state);
    void FillFlagList(GameState state);
    void GatherPages();
    // The pages read back into another record, as GatherPages would into the document's: what
    // a save would write, without changing anything.
    void GatherInto(GameState& state) const;
    void SwitchCharacter(int index, bool gatherFirst);

private:
    GameState& m_state;
    Pages m_pages;
};

}  // namespace sw::ui
