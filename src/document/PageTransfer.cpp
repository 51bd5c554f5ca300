#include "PageTransfer.h"

#include <QStringList>

#include "GameText.h"
#include "ReadBack.h"
#include "pages/ControlIds.h"
#include "pages/EventFlagsPage.h"
#include "pages/GameTextShown.h"
#include "pages/GoodsPage.h"
#include "pages/MiscPage.h"
#include "pages/StatsPage.h"

namespace sw::ui {
namespace {

int StatsControl(MemberField field) {
    switch (field) {
        case MemberField::kName:
            return id::kName;
        case MemberField::kLevel:
            return id::kLevel;
        case MemberField::kExperience:
            return id::kExperience;
        case MemberField::kHpMax:
            return id::kHpMax;
        case MemberField::kPpMax:
            return id::kPpMax;
        case MemberField::kOffense:
            return id::kOffense;
        case MemberField::kDefense:
            return id::kDefense;
        case MemberField::kSpeed:
            return id::kSpeed;
        case MemberField::kGuts:
            return id::kGuts;
        case MemberField::kVitality:
            return id::kVitality;
        case MemberField::kIq:
            return id::kIq;
        case MemberField::kLuck:
            return id::kLuck;
        case MemberField::kHp:
            return id::kHp;
        case MemberField::kPp:
            return id::kPp;
    }
    return 0;
}

struct MiscControl {
    StateText text;
    int id;
};
constexpr MiscControl kMiscControls[] = {
    {StateText::kPlayerName, id::kPlayerName},
    {StateText::kDogName, id::kDogName},
    {StateText::kFavoriteFood, id::kFavoriteFood},
    {StateText::kPsiSpecial, id::kPsiSpecial},
};

// The text a box shows for a member's field.
QString ShownField(const CharacterRecord& member, MemberField field) {
    return field == MemberField::kName ? ShownGameText(TextOf(member.name))
                                       : QString::fromStdString(ShownMemberField(member, field));
}

}  // namespace

PageTransfer::PageTransfer(GameState& state, Pages pages) : m_state(state), m_pages(pages) {}

void PageTransfer::FillPages() {
    FillStatsPage(m_state.characters[m_state.currentCharacter]);
    FillMoney(m_state);
    FillMiscTexts(m_state);
    FillFlagList(m_state);
}

void PageTransfer::FillStatsPage(CharacterRecord record) {
    QStringList names;
    for (const CharacterRecord& member : m_state.characters) {
        names << ShownGameText(TextOf(member.name));
    }
    m_pages.stats->SetCharacterNames(names);
    m_pages.goods->SetCharacterNames(names);
    m_pages.stats->SetFieldText(id::kName, ShownField(record, MemberField::kName));
    m_pages.stats->SelectCharacter(record.index);
    m_pages.goods->SelectCharacter(record.index);
    for (const MemberFieldInfo& info : MemberFields()) {
        if (info.field != MemberField::kName) {
            m_pages.stats->SetFieldText(StatsControl(info.field), ShownField(record, info.field));
        }
    }
    m_pages.goods->m_goods = record.goods;
    m_pages.goods->RefreshGoodsList();
}

void PageTransfer::FillMoney(GameState state) {
    m_pages.stats->SetFieldText(id::kCash, QString::number(state.money));
    m_pages.stats->SetFieldText(id::kBank, QString::number(state.bank));
}

void PageTransfer::FillMiscTexts(GameState state) {
    for (const MiscControl& control : kMiscControls) {
        m_pages.misc->SetFieldText(control.id, ShownGameText(ShownText(state, control.text)));
    }
}

void PageTransfer::FillFlagList(GameState) {
    m_pages.flags->RebuildFlagList();
}

void PageTransfer::GatherPages() {
    GatherInto(m_state);
}

// A box that still shows its field's value was not edited: the value stays as the file holds
// it, also where it lies beyond the limit that a typed value gets.
void PageTransfer::GatherInto(GameState& state) const {
    CharacterRecord& member = state.characters[state.currentCharacter];
    for (const MemberFieldInfo& info : MemberFields()) {
        const QString typed = m_pages.stats->FieldText(StatsControl(info.field));
        if (typed != ShownField(member, info.field)) {
            StoreTypedMemberField(member, info.field, TypedGameText(typed));
        }
    }
    member.goods = m_pages.goods->m_goods;
    const auto gatherNumber = [this](int control, std::int32_t& value) {
        const QString typed = m_pages.stats->FieldText(control);
        if (typed != QString::number(value)) {
            value = ParseTypedNumber(TypedGameText(typed));
        }
    };
    gatherNumber(id::kCash, state.money);
    gatherNumber(id::kBank, state.bank);
    for (const MiscControl& control : kMiscControls) {
        const QString typed = m_pages.misc->FieldText(control.id);
        if (typed != ShownGameText(ShownText(state, control.text))) {
            StoreTypedText(state, control.text, TypedGameText(typed));
        }
    }
}

void PageTransfer::SwitchCharacter(int index, bool gatherFirst) {
    if (gatherFirst) {
        GatherPages();
    }
    m_state.currentCharacter = index;
    FillPages();
}

}  // namespace sw::ui
