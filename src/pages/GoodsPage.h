// The Goods page: the shown member's 14 goods slots in a framed game window, the item chooser
// and the commands on the slots, the member chooser and arrows, and renaming an item (which
// writes the ROM at once). The right half holds the "This space for rent" placeholder and a
// hidden text box that the hidden extras fill.
#pragma once

#include <QFont>
#include <QWidget>
#include <optional>
#include <string>
#include <unordered_map>

#include "GoodsCommands.h"
#include "ItemNames.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace sw {
class Prompter;
}

namespace sw::ui {

class GoodsList;
class SoundPlayer;
class StaticBitmap;

class GoodsPage : public QWidget {
    Q_OBJECT
public:
    GoodsPage(SoundPlayer& sounds, Prompter& prompter, QWidget* parent);

    // The choosers, the six buttons and the arrows; disabling also hides the text box.
    void EnableControls(bool enable);
    // Rebuilds the grid from m_goods and m_itemNames, after ending an open rename; afterwards
    // no slot is selected, and the list's current cell is the current slot still.
    void RefreshGoodsList();
    // Ends an open rename now: its text goes to the item it was opened on.
    void FinishRename();
    // Keeps the path and takes the ROM's item names; an unreadable ROM changes nothing.
    void ReadItemNamesFromRom(const std::string& path);
    // The names of the ROM kept, read again after another program changed it.
    void ReadNamesAgain();

    void SetCharacterNames(const QStringList& names);
    void SelectCharacter(int index);
    QComboBox* CharacterCombo() const { return m_characterCombo; }

    // The hidden extras' text box (1008) with its frame (1061).
    void ShowSecretText(const QString& text);
    void HideSecretText();
    QPlainTextEdit* SecretText() const { return m_secretText; }

    bool m_characterComboHasFocus = false;
    Goods m_goods{};
    ItemNameTable m_itemNames = DefaultItemNames();
    std::string m_romPath;
    // The ROM as it was when its names were read: a rename reads them again first when the
    // ROM has been changed on disk since.
    FileStamp m_romStamp;
    // The ROM as the document accepted it, and whether its title was another game's then.
    FileStamp m_romAccepted;
    bool m_romForeign = false;
    // Makes the ROM's backup before its first rename in this run; set by the main window.
    BackupKeeper* m_backups = nullptr;
    QLabel* m_rentStatic = nullptr;
    // The list's current cell, which every click, key and rebuild moves together with it;
    // -1 when the list has none.
    int g_currentGoodsSlot = 0;

    static constexpr int kRentSound = 193;

signals:
    // The user asked for another member (chooser or arrows); the shown one is gathered first.
    void characterChosen(int index);

private:
    // Each name's shortened label in the list's font, as measured once: a rebuild (every fill,
    // save and member switch) would otherwise measure a long name once per character cut.
    QString ShortenedFor(const std::string& name);
    std::unordered_map<std::string, QString> m_shortened;
    QFont m_shortenedFont;

    void CreateWidgets();
    void ConnectWidgets();
    void RebuildItemChooser();
    void SelectChooserForCurrentSlot();
    int SelectedSlot() const;

    void OnSelectSlot();
    void OnGridKey(GridKey key);
    void OnItemChosen(int code);
    void OnAdd();
    void OnRemove();
    void OnRemoveAll();
    void OnNumeric();
    void OnAlpha();
    void OnBest();
    void OnStepMember(int step);
    void OnTextBoxScrolled(int value);
    std::optional<QString> BeginRename(int slot);
    void EndRename(const QString& typed);

    SoundPlayer& m_sounds;
    Prompter& m_prompter;
    QComboBox* m_characterCombo = nullptr;
    QComboBox* m_itemChooser = nullptr;
    GoodsList* m_list = nullptr;
    StaticBitmap* m_previous = nullptr;
    StaticBitmap* m_next = nullptr;
    QPushButton* m_best = nullptr;
    QPushButton* m_alpha = nullptr;
    QPushButton* m_numeric = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_removeAll = nullptr;
    QPushButton* m_add = nullptr;
    QGroupBox* m_secretGroup = nullptr;
    QPlainTextEdit* m_secretText = nullptr;

    // What an open rename was opened on: the item, its name then, and the ROM it lives in.
    struct Rename {
        int code;
        std::string name;
        std::string romPath;
    };
    std::optional<Rename> m_rename;
    bool m_rebuilding = false;  // the list's cell moves only because the list is rebuilt
};

}  // namespace sw::ui
