// Opening, closing and saving through the real window, with the file's bytes checked.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "Backups.h"
#include "EditorFixture.h"
#include "EmulatorStates.h"
#include "Messages.h"
#include "StateFormat.h"
#include "document/Document.h"
#include "pages/ControlIds.h"
#include "pages/EventFlagsPage.h"
#include "pages/FlagListCtrl.h"
#include "pages/GoodsList.h"
#include "pages/GoodsPage.h"
#include "pages/MiscPage.h"
#include "platform/QtPrompter.h"
#include "platform/ShockwaveFlash.h"

namespace sw::test {
namespace {

namespace id = ui::id;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr int kStatsEdits[] = {id::kName,    id::kLevel, id::kExperience, id::kHp,
                               id::kHpMax,   id::kPp,    id::kPpMax,      id::kOffense,
                               id::kDefense, id::kSpeed, id::kGuts,       id::kVitality,
                               id::kIq,      id::kLuck,  id::kCash,       id::kBank};
constexpr int kMiscEdits[] = {id::kPlayerName, id::kDogName, id::kFavoriteFood, id::kPsiSpecial};

class DocumentTest : public EditorTest {
protected:
    // Whether every data control of the Player Stats and Misc. pages is enabled (or disabled).
    void ExpectControlsEnabled(bool enabled) {
        for (int control : kStatsEdits) {
            EXPECT_EQ(Control(Pages().stats, control)->isEnabled(), enabled) << control;
        }
        EXPECT_EQ(Pages().stats->CharacterCombo()->isEnabled(), enabled);
        EXPECT_EQ(Pages().goods->CharacterCombo()->isEnabled(), enabled);
        for (int control : kMiscEdits) {
            EXPECT_EQ(Control(Pages().misc, control)->isEnabled(), enabled) << control;
        }
    }
};

TEST(QtPrompter, EnterAnswersAQuestionWithNo) {
    ui::QtPrompter prompter;
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    EXPECT_FALSE(prompter.AskYesNo("Write over it?"));
}

// The three-answer question: Enter, Escape and the close box are all Cancel, a reflex never
// takes a way on; only the buttons take them.
TEST(QtPrompter, EnterEscapeAndCloseAnswerAChoiceWithCancel) {
    // A missing button closes the box, so that the row fails instead of waiting for ever.
    static const auto Click = [](QWidget* box, const char* text) {
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
            if (button->text() == QLatin1String(text)) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        box->close();
    };
    const std::pair<std::function<void(QWidget*)>, Choice> rows[] = {
        {[](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }, Choice::kCancel},
        {[](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, Choice::kCancel},
        {[](QWidget* box) { box->close(); }, Choice::kCancel},
        {[](QWidget* box) { Click(box, "Keep &Mine"); }, Choice::kFirst},
        {[](QWidget* box) { Click(box, "Take &Theirs"); }, Choice::kSecond},
    };
    ui::QtPrompter prompter;
    for (const auto& [answer, expected] : rows) {
        QTimer::singleShot(0, [&answer] { answer(QApplication::activeModalWidget()); });
        EXPECT_EQ(prompter.AskChoice("Both changed it.", msg::kKeepMine, msg::kTakeTheirs),
                  expected);
    }
}

TEST_F(DocumentTest, StartsWithoutDocumentOnThePlayerStatsPage) {
    Start();
    EXPECT_EQ(ShownTitle(), Title());
    EXPECT_EQ(window->Tabs()->currentIndex(), 0);  // the pages shown: EachTabShowsExactlyItsPage
    ExpectControlsEnabled(false);
    EXPECT_EQ(Pages().stats->CharacterCombo()->count(), 4);
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("0"));
    EXPECT_TRUE(Pages().misc->m_flash->isHidden());
    EXPECT_FALSE(Pages().misc->m_rentStatic->isHidden());
    const char* const tabs[] = {"Player Stats    ", "Goods           ", "Misc.           ",
                                "Event Flags     "};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window->Tabs()->tabText(i), QLatin1String(tabs[i]));
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DocumentTest, OpensFromTheCommandLineEvenByARelativePath) {
    CurrentDir from(dir.Path());
    Start(QStringLiteral("./vellumgate.zs1"));
    EXPECT_EQ(ShownTitle(), Title("vellumgate.zs1"));
    ExpectControlsEnabled(true);
    EXPECT_EQ(Shown(Pages().stats, id::kName), QStringLiteral("Wren"));
    EXPECT_EQ(Shown(Pages().stats, id::kExperience), QStringLiteral("31450"));
    EXPECT_EQ(Shown(Pages().stats, id::kCash), QStringLiteral("4812"));
    EXPECT_EQ(Shown(Pages().stats, id::kBank), QStringLiteral("23370"));
    EXPECT_EQ(Shown(Pages().misc, id::kPlayerName), QStringLiteral("Marlowe"));
    EXPECT_EQ(Pages().goods->CharacterCombo()->itemText(3), QStringLiteral("Pell"));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.Path()));
    EXPECT_EQ(window->Doc().g_romPath, rom);
    EXPECT_EQ(Pages().goods->m_romPath, rom);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(DocumentTest, OpensFromTheMenuAndMovesToTheFilesFolder) {
    Start();
    dialogs.paths = {QString(), QString::fromStdString(state)};
    Trigger(57601);  // cancelled: nothing happens
    EXPECT_EQ(ShownTitle(), Title());
    Trigger(57601);
    EXPECT_EQ(ShownTitle(), Title("vellumgate.zs1"));
    EXPECT_TRUE(dialogs.filters.at(0).contains(QStringLiteral("*.zs*")));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.Path()));
    ExpectControlsEnabled(true);
}

TEST_F(DocumentTest, FileListsTheStatesOpenedLastAndOpensEachByItsNumber) {
    // Same-named states of nine folders, opened one after the other with File > Open.
    const auto stateIn = [this](int k) {
        return std::filesystem::path(dir / ("s" + std::to_string(k))) / kDemoStateName;
    };
    Start();
    ShowActive();
    for (int k = 1; k <= 9; ++k) {
        std::filesystem::create_directories(stateIn(k).parent_path());
        WriteBytes(stateIn(k), MakeDemoState());
        dialogs.paths.push_back(QString::fromStdString(stateIn(k).string()));
        Trigger(57601);
    }
    const auto fileMenu = [this] {
        return window->findChild<QMenuBar*>()->actions().front()->menu();
    };
    QMenu* file = fileMenu();
    const auto listed = [&] {
        QStringList texts;
        for (QAction* action : fileMenu()->actions()) {
            if (action->objectName().startsWith(QLatin1String("recent")) && action->isVisible()) {
                texts << action->text();
            }
        }
        return texts;
    };
    const auto entry = [&](int k, int shown) {
        return QStringLiteral("&%1 ").arg(shown) + QString::fromStdString(stateIn(k).string());
    };
    EXPECT_EQ(listed(), (QStringList{entry(9, 1), entry(8, 2), entry(7, 3), entry(6, 4),
                                     entry(5, 5), entry(4, 6), entry(3, 7), entry(2, 8)}));
    // The keyboard: Alt+F opens File, 3 opens the third.
    const auto choose = [&](Qt::Key number) {
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }));
        QTest::keyClick(file, number);
    };
    choose(Qt::Key_3);
    EXPECT_EQ(window->Doc().g_statePath, stateIn(7).string());
    EXPECT_EQ(std::filesystem::current_path(), stateIn(7).parent_path());
    EXPECT_EQ(listed().front(), entry(7, 1));
    EXPECT_EQ(listed().size(), 8);

    // A file gone is dimmed when File opens, and refused with the reason when chosen.
    std::filesystem::remove(stateIn(9));
    choose(Qt::Key_2);
    auto* second = window->findChild<QAction*>(QStringLiteral("recent2"));
    EXPECT_TRUE(second->property("missing").toBool());
    EXPECT_FALSE(
        window->findChild<QAction*>(QStringLiteral("recent1"))->property("missing").toBool());
    EXPECT_THAT(prompter.messages,
                testing::ElementsAre(testing::StartsWith(std::string(msg::kStateOpenFailed) +
                                                         "\n\n" + stateIn(9).string())));
    EXPECT_EQ(window->Doc().g_statePath, stateIn(7).string());

    // The next start shows the same list; a settings file that makes no sense or cannot be
    // read is no reason not to start, and a state opened then is listed all the same.
    window.reset();
    Start();
    EXPECT_EQ(listed().front(), entry(7, 1));
    // No reason not to start, and nothing of it read: nonsense, a folder, a named pipe (which
    // would hang a read), a file of many megabytes.
    const std::string settings = SettingsFile().toStdString();
    const std::pair<const char*, std::function<void()>> kinds[] = {
        {"nonsense",
         [&] { std::ofstream(settings) << "\xff[recentFiles\n=\n\x01size=-7\n1\\path="; }},
        {"a folder", [&] { std::filesystem::create_directory(settings); }},
        {"a named pipe", [&] { ASSERT_EQ(mkfifo(settings.c_str(), 0600), 0); }},
        {"2 MiB", [&] {
             std::ofstream big(settings);
             big << "[recentFiles]\n1\\path=/big.zs1\nsize=1\n" << std::string(2 << 20, ';');
         }}};
    for (const auto& [kind, make] : kinds) {
        window.reset();
        std::filesystem::remove_all(settings);
        make();
        Start(QString::fromStdString(state));
        EXPECT_EQ(listed(), QStringList{QStringLiteral("&1 ") + QString::fromStdString(state)})
            << kind;
    }
}

TEST_F(DocumentTest, RefusesBadFilesWithTheirMessagesAndKeepsTheOpenDocument) {
    // Each kind of refusal once (the core has every reason); the FIFO must not hang the window.
    Start(QString::fromStdString(state));
    Bytes bad = MakeDemoState();
    bad[0] = 'z';
    WriteBytes(dir / "header.zs1", bad);
    ASSERT_EQ(mkfifo((dir / "fifo.zs1").c_str(), 0644), 0);
    for (const char* name : {"header.zs1", "fifo.zs1"}) {
        window->OnDropFiles({QString::fromStdString(dir / name)});
    }
    EXPECT_THAT(prompter.messages,
                testing::ElementsAre(msg::kNotAState, testing::StartsWith(msg::kStateOpenFailed)));
    EXPECT_EQ(ShownTitle(), Title("vellumgate.zs1"));
    EXPECT_TRUE(window->Doc().HasOpenFile());
    ExpectControlsEnabled(true);
    EXPECT_EQ(Shown(Pages().stats, id::kName), QStringLiteral("Wren"));
}

TEST_F(DocumentTest, ForeignRomIsAskedAboutAndMissingRomIsNot) {
    Bytes foreign = MakeDemoRom();
    Patch(foreign, 65984, {'O', 'T', 'H', 'E', 'R'});
    WriteBytes(rom, foreign);
    prompter.answers = {true, false};
    Start(QString::fromStdString(state));
    EXPECT_EQ(ShownTitle(), Title("vellumgate.zs1"));
    EXPECT_TRUE(window->Doc().HasOpenFile());

    window->OnDropFiles({QString::fromStdString(state)});  // answered No
    ASSERT_EQ(prompter.questions.size(), 2u);
    EXPECT_EQ(prompter.questions[1], msg::kRomWarning);
    EXPECT_FALSE(window->Doc().HasOpenFile());
    EXPECT_EQ(ShownTitle(), Title("vellumgate.zs1"));  // names the declined file
    ExpectControlsEnabled(false);

    // No ROM: no question (a FIFO or a folder in its place is no ROM either: the fault matrix).
    std::filesystem::remove(rom);
    window->OnDropFiles({QString::fromStdString(state)});
    EXPECT_EQ(prompter.questions.size(), 2u);
    EXPECT_TRUE(window->Doc().HasOpenFile());
    EXPECT_TRUE(window->Doc().g_romPath.empty());
    EXPECT_TRUE(prompter.messages.empty());
}

// File > ROM image... names a ROM kept elsewhere: checked as the one beside would be, used at
// once, and used again whenever that state is opened, also in the next run.
TEST_F(DocumentTest, ARomChosenElsewhereIsCheckedUsedAndRememberedForItsState) {
    std::filesystem::remove(rom);
    std::filesystem::create_directory(dir / "roms");
    const std::string kept = dir / "roms/Vellum Gate.sfc";  // without copier header
    Bytes game = MakeDemoRom();
    Patch(game, 1397248 + 39 * 5, {0x71 + 'Q' - 'A', 0x30});  // item 5 is "Q" in this ROM
    WriteBytes(kept, Bytes(game.begin() + 512, game.end()));
    Bytes foreign = game;
    Patch(foreign, 65984, {'O', 'T', 'H', 'E', 'R'});
    const std::string other = dir / "roms/other.smc";
    WriteBytes(other, foreign);
    Start(QString::fromStdString(state));
    ShowActive();
    QAction* choose = window->findChild<QAction*>(QString::number(ui::kChooseRomCommand));
    ASSERT_NE(choose, nullptr);
    EXPECT_TRUE(choose->isEnabled());
    EXPECT_TRUE(window->Doc().g_romPath.empty());
    const auto chooseByKeys = [&](const std::string& path) {
        dialogs.paths.push_back(QString::fromStdString(path));
        QMenu* file = window->findChild<QMenuBar*>()->actions().front()->menu();
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }));
        QTest::keyClick(file, Qt::Key_I);
    };
    chooseByKeys(kept);
    EXPECT_EQ(dialogs.filters.back(), QLatin1String(ui::kRomFilter));
    EXPECT_EQ(window->Doc().g_romPath, kept);
    EXPECT_EQ(Pages().goods->m_itemNames[5], "Q");
    // A foreign one, declined, and one that cannot be read: the chosen ROM stays in use.
    prompter.answers = {false};
    chooseByKeys(other);
    EXPECT_EQ(prompter.questions, std::vector<std::string>{msg::kRomWarning});
    chooseByKeys(dir.Path());
    EXPECT_THAT(prompter.messages,
                testing::ElementsAre(std::string(msg::kRomNotReadable) + dir.Path() +
                                     ": it is a folder, not a file"));
    EXPECT_EQ(window->Doc().g_romPath, kept);

    // The next run opens the state with it; another state has its own ROM (none here).
    window.reset();
    Start(QString::fromStdString(state));
    EXPECT_EQ(window->Doc().g_romPath, kept);
    EXPECT_EQ(Pages().goods->m_itemNames[5], "Q");
    const std::string second = dir / "second.zs1";
    WriteBytes(second, MakeDemoState());
    window->OnDropFiles({QString::fromStdString(second)});
    EXPECT_TRUE(window->Doc().g_romPath.empty());
    // Gone since: the ROM beside the state is looked for instead, without a word.
    std::filesystem::remove(kept);
    WriteBytes(rom, MakeDemoRom());
    window->OnDropFiles({QString::fromStdString(state)});
    EXPECT_EQ(window->Doc().g_romPath, rom);
    EXPECT_EQ(prompter.messages.size(), 1u);
    window->Doc().CloseDocument();
    EXPECT_FALSE(window->findChild<QAction*>(QString::number(ui::kChooseRomCommand))->isEnabled());
}

// A state of another emulator, compressed: opened by a drop, saved in its own framing, and
// saved again without a word, the new file at the path being the one held.
TEST_F(DocumentTest, AnotherEmulatorsCompressedStateIsSavedInItsOwnFraming) {
    const std::string retroArch = dir / "Vellum.state1";
    const std::string made = Rzip(Rastate(BsnesState(DemoWram(), "Performance", 8192)));
    WriteBytes(retroArch, Bytes(made.begin(), made.end()));
    Start();
    window->OnDropFiles({QString::fromStdString(retroArch)});
    ASSERT_TRUE(window->Doc().HasOpenFile());
    EXPECT_EQ(ShownTitle(), Title("Vellum.state1"));
    EXPECT_TRUE(window->Doc().g_romPath.empty());  // no Vellum.smc or .sfc beside it
    for (const char* level : {"50", "51"}) {
        Type(Pages().stats, id::kLevel, QLatin1String(level));
        Trigger(32773);
        const std::string bytes = ReadText(retroArch);
        const StateRecognition found = RecognizeState(bytes);
        ASSERT_TRUE(found.Known());
        EXPECT_EQ(found.format.name, "bsnes-mercury v094 Performance in RetroArch RZIP");
        GameState stored;
        ASSERT_TRUE(stored.ReadAll(bytes));
        EXPECT_EQ(stored.characters[0].level, std::atoi(level));
    }
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(DocumentTest, ADescriptionFileThatCannotBeReadIsSaidAndKeptWhole) {
    // A FIFO where the document's own descriptions belong: the window opens without waiting.
    ASSERT_EQ(mkfifo((dir / "event.vellumgate.txt").c_str(), 0644), 0);
    Start(QString::fromStdString(state));
    EXPECT_TRUE(window->Doc().HasOpenFile());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_THAT(prompter.messages[0], HasSubstr("/event.vellumgate.txt: it is a named pipe"));
    EXPECT_EQ(Pages().flags->m_descriptions[1], "Woke up\n");  // the default file's
    EXPECT_TRUE(Pages().flags->m_descriptionSource.ownFileUnreadable);
}

TEST_F(DocumentTest, TheFirstSaveOfARunMakesABackupAndNoBackupMeansNoSave) {
    const std::string backups = dir / "data/statewright/backups";
    Start(QString::fromStdString(state));
    Type(Pages().stats, id::kLevel, QStringLiteral("61"));
    Trigger(32773);
    Type(Pages().stats, id::kLevel, QStringLiteral("62"));
    Trigger(32773);
    const std::vector<BackupEntry> made = ListBackups(backups, state);
    ASSERT_EQ(made.size(), 1u);  // one per run, before its first write
    EXPECT_EQ(ReadBytes(made[0].path), MakeDemoState());
    EXPECT_EQ(ReadBytes(state).at(42470), 62);

    // Another run, whose backup folder cannot be made: the save is refused, the edit stays.
    std::filesystem::remove_all(dir / "data");
    WriteBytes(dir / "data", {});
    Start(QString::fromStdString(state));
    Type(Pages().stats, id::kLevel, QStringLiteral("63"));
    Trigger(32773);
    EXPECT_EQ(ReadBytes(state).at(42470), 62);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].rfind(msg::kBackupFailed, 0), 0u) << prompter.messages[0];
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("63"));
}

// A prompter that deletes the state while the ROM question is open, so that the second
// opening of the file fails.
class DeletingPrompter : public RecordingPrompter {
public:
    bool AskYesNo(const std::string& text) override {
        std::filesystem::remove(victim);
        RecordingPrompter::AskYesNo(text);
        return true;
    }
    std::string victim;
};

TEST_F(DocumentTest, StateThatCannotBeOpenedAgainLeavesNoDocument) {
    Bytes foreign = MakeDemoRom();
    foreign[65984] = 'X';
    WriteBytes(rom, foreign);
    DeletingPrompter deleting;
    deleting.victim = state;
    window = std::make_unique<ui::MainDlg>(
        QString(), ui::Platform{deleting, dialogs, sounds, opener}, DataFolders(), SettingsFile());
    window->OnDropFiles({QString::fromStdString(state)});
    EXPECT_EQ(deleting.messages,
              std::vector<std::string>{std::string(msg::kStateOpenFailed) + "\n\n" + state +
                                       ": No such file or directory"});
    EXPECT_FALSE(window->Doc().HasOpenFile());
    EXPECT_EQ(ShownTitle(), Title());
    ExpectControlsEnabled(false);
}

TEST_F(DocumentTest, CloseClearsThePagesButKeepsTheFlagsAndTheFile) {
    Start(QString::fromStdString(state));
    const Bytes before = ReadBytes(state);
    Trigger(57602);
    EXPECT_EQ(ShownTitle(), Title());
    EXPECT_FALSE(window->Doc().HasOpenFile());
    ExpectControlsEnabled(false);
    EXPECT_EQ(Shown(Pages().stats, id::kName), QString());
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("0"));
    EXPECT_EQ(Shown(Pages().misc, id::kPlayerName), QString());
    EXPECT_EQ(Pages().stats->CharacterCombo()->itemText(2), QString());
    EXPECT_EQ(window->Doc().gameState.GetFlag(0), 1);  // the last document's flags stay
    EXPECT_TRUE(Pages().goods->m_romPath.empty());
    Trigger(32773);  // saving without a document writes nothing
    EXPECT_EQ(ReadBytes(state), before);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DocumentTest, SaveStoresTypedValuesWithTheirLimitsAndNothingElse) {
    Start(QString::fromStdString(state));
    Bytes expected = ReadBytes(state);
    Type(Pages().stats, id::kName, QStringLiteral("Zandorovik"));
    Type(Pages().stats, id::kLevel, QStringLiteral("256"));
    Type(Pages().stats, id::kExperience, QStringLiteral("20000000"));
    Type(Pages().stats, id::kHp, QStringLiteral("40000"));
    Type(Pages().stats, id::kPpMax, QStringLiteral("32768"));
    Type(Pages().stats, id::kOffense, QStringLiteral("-1"));
    Type(Pages().stats, id::kDefense, QStringLiteral("abc"));
    Type(Pages().stats, id::kCash, QStringLiteral("20000000"));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("1023")), Qt::LeftButton);

    // Member 0 starts at 42465: name, level, experience (4th byte 0), PP max, HP, attributes.
    Patch(expected, 42465, {0x8A, 0x91, 0x9E, 0x94, 0x9F});  // "Zando"
    Patch(expected, 42470, {0xFF, 0xFF, 0xFF, 0xFF, 0x00});
    Patch(expected, 42477, {0x00, 0x80});
    Patch(expected, 42536, {0x00, 0x80});
    Patch(expected, 42486, {0xFF, 0x00});
    Patch(expected, 42052, {0x00, 0x2D, 0x31, 0x00});  // 20,000,000 keeps its low three bytes
    EXPECT_EQ(DiffOffsets(expected, ReadBytes(state)), std::vector<long>{});

    // The pages show what was stored, at once and after a member switch: cash its low three
    // bytes, a negative attribute its low byte.
    const auto expectStored = [this] {
        EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("255"));
        EXPECT_EQ(Shown(Pages().stats, id::kName), QStringLiteral("Zando"));
        EXPECT_EQ(Shown(Pages().stats, id::kOffense), QStringLiteral("255"));
        EXPECT_EQ(Shown(Pages().stats, id::kDefense), QStringLiteral("0"));
        EXPECT_EQ(Shown(Pages().stats, id::kCash), QStringLiteral("3222784"));
    };
    expectStored();
    window->Doc().Transfer().SwitchCharacter(1, true);
    window->Doc().Transfer().SwitchCharacter(0, true);
    expectStored();
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DocumentTest, EnterInAnEditBoxSavesLikeTheDefaultButton) {
    Start(QString::fromStdString(state));
    ShowActive();
    Type(Pages().stats, id::kLevel, QStringLiteral("13"));
    QTest::keyClick(Control(Pages().stats, id::kLevel), Qt::Key_Return);
    EXPECT_EQ(ReadBytes(state).at(42470), 13);
}

TEST_F(DocumentTest, MiscTextsAreCutAndKeepTheOldBytesBehindTheirEnd) {
    Start(QString::fromStdString(state));
    Bytes expected = ReadBytes(state);
    Type(Pages().misc, id::kPlayerName, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"));
    Type(Pages().misc, id::kFavoriteFood, QStringLiteral("Tea"));  // over "Scones"
    // E-acute, a smiling face (two UTF-16 units), the euro sign, the eth (0xD0, which would be
    // stored as 0x00): only the first has a single byte.
    Type(Pages().misc, id::kPsiSpecial, QStringLiteral("\u00E9\U0001F642\u20AC\u00D0"));
    Trigger(32773);

    Bytes name;
    for (char c = 'A'; c <= 'X'; ++c) {
        name.push_back(static_cast<std::uint8_t>(c + 0x30));
    }
    std::copy(name.begin(), name.end(), expected.begin() + 42004);
    Patch(expected, 42034, {0x84, 0x95, 0x91, 0x00, 0x95, 0xA3});  // "Tea", 0, old "es"
    Patch(expected, 42040, {0x19, 0x6F, 0x6F, 0x6F, 0x00});        // 0xE9, one "?" each, then 0
    EXPECT_EQ(DiffOffsets(expected, ReadBytes(state)), std::vector<long>{});
    EXPECT_EQ(Shown(Pages().misc, id::kPlayerName), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX"));
    // Filled anew, a text too long for its box shows its beginning.
    EXPECT_EQ(Control(Pages().misc, id::kPlayerName)->cursorPosition(), 0);
}

TEST_F(DocumentTest, ChoosingAnotherMemberGathersTheShownOneFirst) {
    Start(QString::fromStdString(state));
    Type(Pages().stats, id::kLevel, QStringLiteral("40"));
    QComboBox* combo = Pages().stats->CharacterCombo();
    Choose(combo, 2);
    EXPECT_EQ(window->Doc().gameState.characters[0].level, 40);
    EXPECT_EQ(window->Doc().gameState.currentCharacter, 2);
    EXPECT_EQ(Shown(Pages().stats, id::kName), QStringLiteral("Tobi"));
    EXPECT_EQ(Pages().goods->CharacterCombo()->currentIndex(), 2);
    EXPECT_EQ(Pages().goods->m_goods[0], 0x2C);

    Choose(Pages().goods->CharacterCombo(), 0);
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("40"));
    EXPECT_EQ(combo->currentIndex(), 0);
    Trigger(32773);
    EXPECT_EQ(ReadBytes(state).at(42470), 40);
}

// A state made read-only, cut short, no longer a state, put behind a link or deleted since it
// was opened is not saved, and the edit stays on the page.
TEST_F(DocumentTest, SaveRefusesAFileChangedSinceItWasOpenedAndKeepsTheEdits) {
    namespace fs = std::filesystem;
    Start(QString::fromStdString(state));
    Type(Pages().stats, id::kLevel, QStringLiteral("77"));
    const std::string other = dir / "other/vellumgate.zs1";
    const std::pair<std::function<void()>, std::string> rows[] = {
        {[&] { fs::permissions(state, fs::perms(0444)); }, "the file is read-only (mode 0444)"},
        {[&] { fs::permissions(state, fs::perms(0644)), fs::resize_file(state, 40000); },
         "it is no longer a save state: it is too short to be a Vellumgate save state (40000 "
         "bytes; at least 43,163 are needed)"},
        {[&] { WriteBytes(state, Bytes(275291, 0x41)); },
         "it is no longer a save state: it is neither a save state nor the game's ROM"},
        // Another folder's state behind a link in its place: never written through.
        {[&] {
             fs::create_directories(dir / "other");
             WriteBytes(other, MakeDemoState());
             fs::remove(state), fs::create_symlink(other, state);
         },
         "a link has been put in the file's place"},
        {[&] { fs::remove(state); }, "the file has been deleted, moved or replaced"},
    };
    for (const auto& [make, reason] : rows) {
        SCOPED_TRACE(reason);
        prompter.messages.clear();
        make();
        const Bytes before = fs::exists(state) ? ReadBytes(state) : Bytes();
        Trigger(32773);
        if (fs::exists(state)) {
            EXPECT_EQ(ReadBytes(state), before);
        }
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_THAT(prompter.messages[0],
                    StartsWith(std::string(msg::kSaveFailed) + state + ": " + reason));
        EXPECT_THAT(prompter.messages[0],
                    EndsWith(std::string("\n\nNothing was written to it.\n\n") + msg::kEditsKept));
    }
    EXPECT_EQ(ReadBytes(other), MakeDemoState());
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("77"));
}

TEST_F(DocumentTest, SaveStopsAtAFailedWriteAndSaysWhatWasWritten) {
    Start(QString::fromStdString(state));
    Type(Pages().stats, id::kLevel, QStringLiteral("99x"));
    Type(Pages().stats, id::kCash, QStringLiteral("5"));
    Type(Pages().misc, id::kPlayerName, QStringLiteral("Quill"));
    // The disk fails on the money: the members are written, the texts and flags are not.
    window->Doc().g_stateFile = OpenFailingStream(state, 42052, 42059, EIO);
    const Bytes before = ReadBytes(state);
    Trigger(32773);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0],
              std::string(msg::kSaveFailed) + state +
                  ": Input/output error\n\nWriting stopped at the failure, in the money, which "
                  "may be partly written. Written before it: party member 1, party member 2, "
                  "party member 3, party member 4. Not written: the four texts, the event "
                  "flags.\n\n" +
                  msg::kEditsKept);
    const Bytes after = ReadBytes(state);
    EXPECT_EQ(after.at(42470), 99);
    EXPECT_TRUE(std::equal(after.begin() + 42004, after.begin() + 42059, before.begin() + 42004));
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("99x"));
}

TEST_F(DocumentTest, FilesDroppedAnywhereOnTheWindowReachItsDropHandler) {
    const std::string other = dir / "other.zs1";
    WriteBytes(other, MakeDemoState());
    Start(QString::fromStdString(state));
    ShowActive();
    constexpr int kTabBar = -1, kRenameEditor = -2, kPage = 0;
    const std::pair<int, int> targets[] = {
        // tab, control
        {0, id::kName},       {0, id::kExperience}, {0, id::kStatsCharacter}, {0, id::kSave},
        {0, kTabBar},         {0, kPage},           {1, id::kGoodsList},      {1, id::kItemChooser},
        {1, id::kSecretText}, {1, kRenameEditor},   {2, id::kPlayerName},     {2, id::kDogName},
        {3, id::kFlagList},
    };
    bool otherNext = true;
    for (const auto& [tab, control] : targets) {
        window->Tabs()->setCurrentIndex(tab);
        Pages().goods->ShowSecretText(QStringLiteral("story"));
        QWidget* const pages[] = {Pages().stats, Pages().goods, Pages().misc, Pages().flags};
        QWidget* widget = pages[tab];
        if (control == kTabBar) {
            widget = window->Tabs()->tabBar();
        } else if (control == kRenameEditor) {
            auto* list = Control<ui::GoodsList>(Pages().goods, id::kGoodsList);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(3)).center());
            QTest::keyClick(list, Qt::Key_F2);
            widget = list->indexWidget(list->currentIndex());
        } else if (control != kPage) {
            widget = Control<QWidget>(control == id::kSave ? window.get() : pages[tab], control);
        }
        ASSERT_NE(widget, nullptr) << control;
        const char* file = otherNext ? "other.zs1" : "vellumgate.zs1";
        otherNext = !otherNext;
        EXPECT_EQ(DropOn(widget, {QString::fromStdString(dir / file)}), Qt::CopyAction) << control;
        EXPECT_EQ(ShownTitle(), Title(file)) << control;
        const std::size_t complaints = prompter.messages.size();
        DropOn(widget, {QString::fromStdString(other), QString::fromStdString(state)});
        EXPECT_EQ(prompter.messages.size(), complaints + 1) << control;
        for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
            EXPECT_FALSE(edit->text().contains(QStringLiteral("file:"))) << control;
        }
        EXPECT_EQ(Pages().goods->SecretText()->toPlainText(), QStringLiteral("story")) << control;
    }
    EXPECT_EQ(prompter.messages.at(0), "One file at a time, please. I'm not a magician.");
    EXPECT_EQ(ReadBytes(rom), MakeDemoRom());  // the rename editor took no file name
}

TEST_F(DocumentTest, DropsAreTakenAsCopyOrLinkButNeverAsMove) {
    Start();
    ShowActive();
    // The actions offered, the keys held (Shift asks for Move, Ctrl for Copy), the action taken.
    const std::tuple<Qt::DropActions, Qt::KeyboardModifiers, Qt::DropAction> cases[] = {
        {Qt::CopyAction | Qt::MoveAction, Qt::NoModifier, Qt::CopyAction},
        {Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::ShiftModifier, Qt::CopyAction},
        {Qt::MoveAction | Qt::LinkAction, Qt::ShiftModifier, Qt::LinkAction},
        {Qt::LinkAction, Qt::NoModifier, Qt::LinkAction},
        {Qt::MoveAction, Qt::NoModifier, Qt::IgnoreAction},
    };
    for (const auto& [offered, modifiers, taken] : cases) {
        Trigger(57602);
        EXPECT_EQ(DropOn(Control(Pages().stats, id::kName), {QString::fromStdString(state)},
                         offered, modifiers),
                  taken)
            << offered.toInt() << " " << modifiers.toInt();
        EXPECT_EQ(window->Doc().HasOpenFile(), taken != Qt::IgnoreAction) << offered.toInt();
    }
    EXPECT_TRUE(std::filesystem::exists(state));
}

TEST_F(DocumentTest, EscapeNeverClosesTheWindowWhileCloseExitAndTheCloseBoxDo) {
    const std::tuple<const char*, std::function<void()>, bool> ways[] = {
        {"Escape in an edit box",
         [this] { QTest::keyClick(Control(Pages().stats, id::kLevel), Qt::Key_Escape); }, false},
        {"Escape on the window", [this] { QTest::keyClick(window.get(), Qt::Key_Escape); }, false},
        {"Close",
         [this] {
             QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("2")),
                               Qt::LeftButton);
         },
         true},
        {"File > Exit", [this] { QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier); },
         true},
        {"close box", [this] { window->close(); }, true},
    };
    const Bytes before = ReadBytes(state);
    for (const auto& [way, act, closes] : ways) {
        Start(QString::fromStdString(state));
        ShowActive();
        Type(Pages().stats, id::kLevel, QStringLiteral("77"));
        act();
        EXPECT_EQ(window->isVisible(), !closes) << way;
        EXPECT_EQ(ReadBytes(state), before) << way;  // closing never saves nor asks
    }
    EXPECT_TRUE(prompter.questions.empty());
}

}  // namespace
}  // namespace sw::test
