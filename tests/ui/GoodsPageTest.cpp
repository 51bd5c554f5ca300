// The Goods page driven through its real widgets: the grid, the item chooser, the commands,
// the member arrows, and renaming items in the demo ROM.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <functional>

#include "EditorFixture.h"
#include "ItemNames.h"
#include "Messages.h"
#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/GoodsList.h"
#include "pages/GoodsPage.h"

namespace sw::test {
namespace {

namespace id = ui::id;

constexpr long kMember0Goods = 95 * 447 + 35;

// The demo ROM with `name` in the record of `code`, as the game stores it.
Bytes RomNaming(int code, const std::string& name) {
    return WithItemName(MakeDemoRom(), code, name);
}

class GoodsPageTest : public EditorTest {
protected:
    // The demo state open in the shown, active window, on the Goods tab.
    void ShowGoods() {
        Start(QString::fromStdString(state));
        ShowActive();
        window->Tabs()->setCurrentIndex(1);
    }
    QWidget* Arrow(int controlId) const {
        return Goods()->findChild<QWidget*>(QString::number(controlId));
    }
    ui::GoodsPage* Goods() const { return Pages().goods; }
    ui::GoodsList* List() const { return Control<ui::GoodsList>(Goods(), id::kGoodsList); }
    QComboBox* Chooser() const { return Control<QComboBox>(Goods(), id::kItemChooser); }
    QString Label(int slot) const { return List()->item(slot)->text(); }

    void ClickSlot(int slot) {
        const QRect cell = List()->visualItemRect(List()->item(slot));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void Press(int controlId) {
        QPushButton* button = Control<QPushButton>(Goods(), controlId);
        ASSERT_TRUE(button->isEnabled()) << controlId;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void Choose(int code) { EditorTest::Choose(Chooser(), code); }
    // F2 on the selected slot, as the user starts a rename; null when no editor opened.
    QLineEdit* BeginRename() {
        QTest::keyClick(List(), Qt::Key_F2);
        return qobject_cast<QLineEdit*>(List()->indexWidget(List()->currentIndex()));
    }
    void Rename(int slot, const QString& text, Qt::Key end = Qt::Key_Return) {
        ClickSlot(slot);
        QLineEdit* editor = BeginRename();
        ASSERT_NE(editor, nullptr);
        editor->clear();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, end);
        QCoreApplication::processEvents();  // the list confirms an edit from its event loop
    }
};

TEST_F(GoodsPageTest, ShowsTheShownMembersGoodsAndTheChoosersTexts) {
    Start();
    ASSERT_EQ(List()->count(), 14);
    for (int slot = 0; slot < 14; ++slot) {
        EXPECT_EQ(Label(slot), QStringLiteral("Null"));  // empty slots name item 0
    }
    EXPECT_FALSE(Control<QPushButton>(Goods(), id::kAdd)->isEnabled());
    EXPECT_TRUE(List()->isEnabled());

    window->Doc().OpenIfValid(state);
    EXPECT_EQ(Label(7), QString::fromStdString(DefaultItemNames()[0x61]));
    EXPECT_EQ(Label(13), QStringLiteral("Null"));
    // Two columns of seven rows: slot i at row i / 2, column i % 2.
    const QRect first = List()->visualItemRect(List()->item(0));
    EXPECT_EQ(List()->visualItemRect(List()->item(1)).top(), first.top());
    EXPECT_GT(List()->visualItemRect(List()->item(1)).left(), first.left());
    EXPECT_EQ(List()->visualItemRect(List()->item(12)).left(), first.left());
    EXPECT_GT(List()->visualItemRect(List()->item(12)).top(), first.top());

    ASSERT_EQ(Chooser()->count(), 256);
    EXPECT_EQ(Chooser()->itemText(10),
              QString::fromStdString(DefaultItemNames()[10]) + QStringLiteral(" [10]"));
    EXPECT_EQ(Chooser()->itemText(255), QStringLiteral("<blank> [255]"));
    EXPECT_EQ(Chooser()->currentIndex(), -1);
    for (int control :
         {id::kAdd, id::kRemove, id::kRemoveAll, id::kAlpha, id::kBest, id::kNumeric}) {
        EXPECT_TRUE(Control<QPushButton>(Goods(), control)->isEnabled()) << control;
    }
}

TEST_F(GoodsPageTest, CommandsChangeOnlyTheShownMembersGoodsBytes) {
    Start(QString::fromStdString(state));
    const Bytes before = ReadBytes(state);

    Press(id::kAdd);  // nothing chosen yet: item 255 must not appear
    EXPECT_EQ(Goods()->m_goods[11], 0);
    ClickSlot(7);
    EXPECT_EQ(Chooser()->currentIndex(), 0x61);
    Choose(0xCE);
    EXPECT_EQ(Goods()->m_goods[7], 0xCE);
    EXPECT_EQ(Label(7), QString::fromStdString(DefaultItemNames()[0xCE]));
    Press(id::kAdd);  // the first empty slot gets the chosen item
    EXPECT_EQ(Goods()->m_goods[11], 0xCE);
    Press(id::kRemove);  // a rebuilt list has no selection: nothing is removed
    EXPECT_EQ(Goods()->m_goods[11], 0xCE);
    Choose(0x02);  // nor does choosing change a slot
    EXPECT_EQ(Goods()->m_goods[11], 0xCE);
    ClickSlot(0);
    Press(id::kRemove);
    EXPECT_EQ(Goods()->m_goods[0], 0x3E);
    EXPECT_EQ(Goods()->m_goods[13], 0);
    Press(id::kNumeric);  // each button's own command: EnterPressesTheFocusedButton...
    EXPECT_EQ(Goods()->m_goods, (sw::Goods{0x01, 0x3E, 0x44, 0x52, 0x5E, 0x82, 0x82, 0xB3, 0xC1,
                                           0xCE, 0xCE, 0, 0, 0}));
    EXPECT_EQ(Label(0), QString::fromStdString(DefaultItemNames()[0x01]));

    Trigger(32773);
    Bytes expected = before;
    std::copy(Goods()->m_goods.begin(), Goods()->m_goods.end(), expected.begin() + kMember0Goods);
    EXPECT_THAT(DiffOffsets(expected, ReadBytes(state)), testing::IsEmpty());
}

TEST_F(GoodsPageTest, ArrowKeysMoveTheCurrentSlotAndTheChooserFollows) {
    Start(QString::fromStdString(state));
    ClickSlot(0);
    // Each key and the slot it leads to: the grid's rule is the core's; here that the keys
    // reach it, and that the highlight and the chooser go where the slot went.
    const std::pair<Qt::Key, int> presses[] = {
        {Qt::Key_Left, 0},  {Qt::Key_Up, 0},    {Qt::Key_Right, 1}, {Qt::Key_Right, 1},
        {Qt::Key_Up, 1},    {Qt::Key_Down, 3},  {Qt::Key_Down, 5},  {Qt::Key_Down, 7},
        {Qt::Key_Down, 9},  {Qt::Key_Down, 11}, {Qt::Key_Down, 13}, {Qt::Key_Down, 13},
        {Qt::Key_Left, 12}, {Qt::Key_Left, 12}, {Qt::Key_Up, 10},   {Qt::Key_Up, 8}};
    for (const auto& [key, slot] : presses) {
        QTest::keyClick(List(), key);
        EXPECT_EQ(Goods()->g_currentGoodsSlot, slot) << key;
        EXPECT_EQ(List()->currentRow(), slot) << key;
        EXPECT_EQ(Chooser()->currentIndex(), Goods()->m_goods[slot]) << key;
    }
}

TEST_F(GoodsPageTest, MemberArrowsAndChooserGatherFirstAndWrapAround) {
    Start(QString::fromStdString(state));
    ClickSlot(0);
    Press(id::kRemove);
    QWidget* next = Arrow(id::kNextMember);
    QTest::mouseClick(Arrow(id::kPreviousMember), Qt::LeftButton);
    EXPECT_EQ(window->Doc().gameState.currentCharacter, 3);
    EXPECT_EQ(window->Doc().gameState.characters[0].goods[0], 0x3E);  // gathered first
    EXPECT_EQ(Goods()->m_goods[0], 0x33);
    EXPECT_EQ(Goods()->CharacterCombo()->currentIndex(), 3);
    EXPECT_EQ(Pages().stats->CharacterCombo()->currentIndex(), 3);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(window->Doc().gameState.currentCharacter, 0);
    EXPECT_EQ(Goods()->m_goods[0], 0x3E);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(window->Doc().gameState.currentCharacter, 1);
    EditorTest::Choose(Goods()->CharacterCombo(), 2);
    EXPECT_EQ(Goods()->m_goods[0], 0x2C);
}

TEST_F(GoodsPageTest, RenameWritesOneRecordAndShowsTheNameEverywhere) {
    Start(QString::fromStdString(state));
    // 45 characters typed, 38 kept; the label is shortened, the chooser shows it whole.
    Rename(7, QString(45, QLatin1Char('W')));
    EXPECT_THAT(DiffOffsets(RomNaming(0x61, std::string(38, 'W')), ReadBytes(rom)),
                testing::IsEmpty());
    const QString stored(38, QLatin1Char('W'));
    EXPECT_EQ(Chooser()->itemText(97), stored + QStringLiteral(" [97]"));
    EXPECT_EQ(Chooser()->currentIndex(), 0x61);
    EXPECT_TRUE(Label(7).endsWith(QStringLiteral("...")));
    EXPECT_LE(List()->LabelWidth(Label(7)), 95);
    EXPECT_EQ(Goods()->m_itemNames[0x61], stored.toStdString());

    // Member 1 does not carry 0x61 but every member shows the new name where it does.
    Goods()->m_goods[3] = 0x61;
    Goods()->RefreshGoodsList();
    EXPECT_EQ(Label(3), Label(7));
    // In a font half as large the name is measured again and keeps more of itself, not shown
    // as it was cut before; the grid then gets its own font back.
    const QString cut = Label(7);
    const QFont font = List()->font();
    QFont smaller = font;
    smaller.setPointSizeF(font.pointSizeF() / 2);
    List()->setFont(smaller);
    Goods()->RefreshGoodsList();
    EXPECT_GT(Label(7).size(), cut.size());
    List()->setFont(font);
    Goods()->RefreshGoodsList();
    EXPECT_EQ(Label(7), cut);

    Rename(7, QString(), Qt::Key_Escape);
    EXPECT_EQ(Chooser()->itemText(97), QStringLiteral("<blank> [97]"));
    EXPECT_EQ(Label(7), QStringLiteral("<blank>"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(GoodsPageTest, AFailedRenameWarnsAndChangesNothing) {
    Start(QString::fromStdString(state));
    const QString label = Label(7), entry = Chooser()->itemText(0x61);
    std::filesystem::remove(rom);
    std::filesystem::create_directory(rom);  // in the way: the ROM cannot be written
    Rename(7, QStringLiteral("Pickled Egg"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_THAT(prompter.messages[0], testing::StartsWith(msg::kRomWriteFailed));
    EXPECT_EQ(Label(7), label);
    EXPECT_EQ(Chooser()->itemText(0x61), entry);
    EXPECT_EQ(Goods()->m_itemNames[0x61], DefaultItemNames()[0x61]);

    // After closing there is no ROM: renaming is refused; the names read last stay.
    std::filesystem::remove(rom);
    WriteBytes(rom, MakeDemoRom());
    Trigger(57602);
    EXPECT_TRUE(Goods()->m_romPath.empty());
    Rename(0, QStringLiteral("x"));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1], std::string(msg::kRomWriteFailed) + "\n\n" + msg::kNoRomOpen);
    EXPECT_EQ(ReadBytes(rom), MakeDemoRom());
}

TEST_F(GoodsPageTest, KeyboardOrderFollowsTheTemplate) {
    Start(QString::fromStdString(state));
    EXPECT_EQ(FocusOrder(Goods(), List()),
              QStringLiteral("1017 1006 1021 1007 1022 1041 1049 1050 1051"));
}

TEST_F(GoodsPageTest, ARenameNamesTheItemItOpenedOnHoweverTheEditEnds) {
    const std::string other = dir / "other.zs1";
    WriteBytes(other, MakeDemoState());  // no ROM beside it
    const auto key = [](int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [k, modifiers] {
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), modifiers);
        };
    };
    const std::pair<const char*, std::function<void()>> endings[] = {
        {"Enter", key(Qt::Key_Return)},
        {"Escape", key(Qt::Key_Escape)},
        {"Tab", key(Qt::Key_Tab)},
        {"next member", [this] { QTest::mouseClick(Arrow(id::kNextMember), Qt::LeftButton); }},
        {"previous member",
         [this] { QTest::mouseClick(Arrow(id::kPreviousMember), Qt::LeftButton); }},
        {"member chooser",
         [this] {
             QComboBox* combo = Goods()->CharacterCombo();
             QTest::mouseClick(combo, Qt::LeftButton);  // drops down with member 0 current
             for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) {
                 QTest::keyClick(combo->view(), k);
             }
             ASSERT_EQ(window->Doc().gameState.currentCharacter, 2);
         }},
        {"File > Close", key(Qt::Key_W, Qt::ControlModifier)},
        {"File > Open",
         [&] {
             dialogs.paths = {QString::fromStdString(other)};
             key(Qt::Key_O, Qt::ControlModifier)();
         }},
        {"tab change", key(Qt::Key_Tab, Qt::ControlModifier)},
        {"close box", [this] { window->close(); }},
    };
    for (const auto& [ending, end] : endings) {
        WriteBytes(rom, MakeDemoRom());
        prompter.messages.clear();
        ShowGoods();
        ClickSlot(0);  // Brass-Tipped Cane, 0x15
        QLineEdit* editor = BeginRename();
        ASSERT_NE(editor, nullptr) << ending;
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("Arrow Test"));
        end();
        QCoreApplication::processEvents();
        EXPECT_THAT(DiffOffsets(RomNaming(0x15, "Arrow Test"), ReadBytes(rom)), testing::IsEmpty())
            << ending;
        EXPECT_TRUE(prompter.messages.empty()) << ending;
    }
}

TEST_F(GoodsPageTest, TheHighlightedCellAndTheCurrentSlotNeverPart) {
    ShowGoods();
    const Bytes romBefore = ReadBytes(rom);
    const auto key = [this](Qt::Key k) { return [this, k] { QTest::keyClick(List(), k); }; };
    // The keys, and where the cell goes (-1: wherever the list takes it).
    const std::tuple<const char*, std::function<void()>, int> cases[] = {
        {"Home", key(Qt::Key_Home), 0},
        {"End", key(Qt::Key_End), 13},
        {"PgUp", key(Qt::Key_PageUp), -1},
        {"PgDn", key(Qt::Key_PageDown), -1},
        {"a letter", key(Qt::Key_H), 7},  // Honey Bun
        {"Tab in after Numeric",
         [this] {
             Press(id::kNumeric);
             for (int tabs = 0; tabs < 10 && !List()->hasFocus(); ++tabs) {
                 QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
             }
             ASSERT_TRUE(List()->hasFocus());
         },
         5},
    };
    for (const auto& [name, keys, slot] : cases) {
        ClickSlot(5);
        keys();
        const int cell = List()->currentRow();
        if (slot >= 0) {
            EXPECT_EQ(cell, slot) << name;
        }
        EXPECT_EQ(Goods()->g_currentGoodsSlot, cell) << name;
        ASSERT_GE(cell, 0) << name;
        QLineEdit* editor = BeginRename();
        ASSERT_NE(editor, nullptr) << name;
        EXPECT_EQ(editor->text(),
                  QString::fromStdString(Goods()->m_itemNames[Goods()->m_goods[cell]]))
            << name;
        QTest::keyClick(editor, Qt::Key_Escape);  // unchanged: the ROM keeps every byte
        EXPECT_EQ(ReadBytes(rom), romBefore) << name;
    }
}

TEST_F(GoodsPageTest, ANameOfThirtyNineCharactersOpensWholeAndIsCutOnlyWhenChanged) {
    const std::string longest(39, 'L');
    const Bytes longRom = RomNaming(0x15, longest);
    WriteBytes(rom, longRom);
    ShowGoods();
    ClickSlot(0);
    QLineEdit* editor = BeginRename();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QString::fromStdString(longest));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(ReadBytes(rom), longRom);

    editor = BeginRename();
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, QStringLiteral("MN"));  // the N would be a 40th character
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_THAT(DiffOffsets(RomNaming(0x15, std::string(38, 'L')), ReadBytes(rom)),
                testing::IsEmpty());
}

TEST_F(GoodsPageTest, MemberArrowsWaitForADocumentAndLookDimmedOnTheFrame) {
    Start();
    window->Tabs()->setCurrentIndex(1);
    for (int arrow : {id::kNextMember, id::kPreviousMember}) {
        EXPECT_FALSE(Arrow(arrow)->isEnabled()) << arrow;
    }
    QTest::mouseClick(Arrow(id::kNextMember), Qt::LeftButton);
    window->Doc().OpenIfValid(state);
    EXPECT_EQ(window->Doc().gameState.currentCharacter, 0);
    EXPECT_EQ(Goods()->CharacterCombo()->currentIndex(), 0);
    EXPECT_TRUE(Arrow(id::kNextMember)->isEnabled());

    // Disabled, the arrow is dimmed and the frame's near-black stays around it.
    const QImage picture = QImage(QStringLiteral(":/bitmap/156"), "BMP");
    const QColor background = picture.pixelColor(0, 0), arrow = picture.pixelColor(4, 6);
    Trigger(57602);
    const QImage shown = Arrow(id::kNextMember)->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), background);
    EXPECT_EQ(shown.pixelColor(10, 13), background);
    EXPECT_LT(shown.pixelColor(4, 6).lightness(), arrow.lightness());
    EXPECT_GT(shown.pixelColor(4, 6).lightness(), background.lightness());
}

TEST_F(GoodsPageTest, EnterPressesTheFocusedButtonAndSaveElsewhere) {
    ShowGoods();
    const sw::Goods demo = Goods()->m_goods;
    const Bytes stateBefore = ReadBytes(state);
    sw::Goods removed = demo;
    RemoveGoods(removed, 0);
    sw::Goods added = demo;
    AddGoods(added, 0x15);
    const std::pair<int, sw::Goods> buttons[] = {
        {id::kRemove, removed},
        {id::kRemoveAll, sw::Goods{}},
        {id::kBest, BestGoods(0)},
        {id::kNumeric, NumericOrder(demo)},
        {id::kAlpha, AlphaOrder(demo, Goods()->m_itemNames)},
        {id::kAdd, added},
    };
    for (const auto& [button, expected] : buttons) {
        Goods()->m_goods = demo;
        Goods()->RefreshGoodsList();
        ClickSlot(0);
        QPushButton* pushed = Control<QPushButton>(Goods(), button);
        pushed->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pushed, Qt::Key_Return);
        EXPECT_EQ(Goods()->m_goods, expected) << button;
        EXPECT_EQ(ReadBytes(state), stateBefore) << button;
    }
    ClickSlot(0);
    QTest::keyClick(List(), Qt::Key_Return);  // on the list: Save
    EXPECT_EQ(ReadBytes(state).at(kMember0Goods + 11), 0x15);
}

TEST_F(GoodsPageTest, TheTitleBarsPiecesAnswerToTheirIds) {
    Start();
    const int y = ui::DluRect(0, 24, 0, 0).top() + 7;
    for (const auto& [x, control] :
         {std::pair{80, id::kGoodsTitle}, {232, id::kPreviousMember}, {241, id::kNextMember}}) {
        QWidget* under = Goods()->childAt(x, y);
        EXPECT_EQ(under != nullptr ? under->objectName() : QString(), QString::number(control));
    }
}

TEST_F(GoodsPageTest, TheItemChooserDropsDownAboutThirtyRows) {
    ShowGoods();
    QTest::mouseClick(Chooser(), Qt::LeftButton);
    QAbstractItemView* popup = Chooser()->view();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_NEAR(popup->viewport()->height() / popup->sizeHintForRow(0), 30, 1);
    Chooser()->hidePopup();
}

}  // namespace
}  // namespace sw::test
