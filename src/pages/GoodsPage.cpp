#include "GoodsPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/FocusTracker.h"
#include "pages/HotArea.h"
#include "platform/SoundPlayer.h"

namespace sw::ui {

GoodsPage::GoodsPage(SoundPlayer& sounds, QWidget* parent) : QWidget(parent), m_sounds(sounds) {
    setObjectName(QStringLiteral("137"));
    CreateWidgets();
}

void GoodsPage::CreateWidgets() {
    setGeometry(DluRect(10, 17, 300, 122));
    AddGroupBox(this, QStringLiteral("Goods"), DluRect(0, 0, 180, 122))
        ->setObjectName(IdName(id::kGoodsGroup));
    AddLabel(this, QStringLiteral("Character:"), DluRect(3, 10, 34, 8), Qt::AlignLeft);
    m_characterCombo = AddDropDownList(this, id::kGoodsCharacter, DluRect(39, 8, 68, 55));
    AddGroupBox(this, QString(), DluRect(184, 0, 115, 122));
    m_rentStatic = AddLabel(this, QStringLiteral("This space for rent"), DluRect(207, 56, 60, 8),
                            Qt::AlignLeft);
    m_rentStatic->setObjectName(IdName(id::kGoodsRentStatic));

    connect(m_characterCombo, &QComboBox::activated, this, &GoodsPage::characterChosen);
    new FocusTracker(m_characterCombo, &m_characterComboHasFocus);
    auto* hotArea = new HotArea(this, m_rentStatic->geometry());
    connect(hotArea, &HotArea::clicked, this, [this] { m_sounds.Play(kRentSound); });
}

void GoodsPage::EnableControls(bool enable) {
    m_characterCombo->setEnabled(enable);
}

void GoodsPage::RefreshGoodsList() {}

void GoodsPage::ReadItemNamesFromRom(const std::string& path) {
    m_romPath = path;
    ReadRomItemNames(path, m_itemNames);
}

void GoodsPage::SetCharacterNames(const QStringList& names) {
    ReplaceItemsSilently(m_characterCombo, names);
}

void GoodsPage::SelectCharacter(int index) {
    SelectSilently(m_characterCombo, index);
}

}  // namespace sw::ui
