// The Goods page. This version carries the member chooser, the item names in use and the
// working copy of the shown member's goods, so that they pass through every fill and gather
// unchanged; the goods grid and its commands build on these.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "ItemNames.h"
#include "Layout.h"

class QComboBox;
class QLabel;

namespace sw::ui {

class SoundPlayer;

class GoodsPage : public QWidget {
    Q_OBJECT
public:
    GoodsPage(SoundPlayer& sounds, QWidget* parent);

    void EnableControls(bool enable);
    // Rebuilds the goods grid from m_goods and m_itemNames.
    void RefreshGoodsList();
    // Keeps the path and takes the ROM's item names; an unreadable ROM changes nothing.
    void ReadItemNamesFromRom(const std::string& path);

    void SetCharacterNames(const QStringList& names);
    void SelectCharacter(int index);
    QComboBox* CharacterCombo() const { return m_characterCombo; }

    bool m_characterComboHasFocus = false;
    std::array<std::uint8_t, layout::kGoodsSlots> m_goods{};
    ItemNameTable m_itemNames = DefaultItemNames();
    std::string m_romPath;
    QLabel* m_rentStatic = nullptr;

    static constexpr int kRentSound = 193;

signals:
    void characterChosen(int index);

private:
    void CreateWidgets();

    SoundPlayer& m_sounds;
    QComboBox* m_characterCombo = nullptr;
};

}  // namespace sw::ui
