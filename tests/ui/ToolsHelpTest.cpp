// The Tools and Help menus: configuration files, the program's documents and the about box.
#include <gmock/gmock.h>

#include <QPlainTextEdit>
#include <QTimer>

#include "EditorFixture.h"
#include "Messages.h"
#include "pages/ControlIds.h"
#include "pages/GameTextShown.h"
#include "shell/AboutDlg.h"
#include "shell/ConfigCommands.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace id = ui::id;

constexpr int kSaveConfig = 32777, kSaveConfigAs = 32779, kLoadConfig = 32778;
constexpr long kConfigBytes = 2259;

class ToolsHelpTest : public EditorTest {
protected:
    void ChooseFile(const std::string& path) {
        dialogs.paths.push_back(QString::fromStdString(path));
    }
};

TEST_F(ToolsHelpTest, SaveConfigAsksOnceThenWritesTheRememberedFile) {
    Start(QString::fromStdString(state));
    std::filesystem::create_directory(dir / "configs");
    const std::string config = dir / "configs/party.swr";
    Type(Pages().stats, id::kLevel, QStringLiteral("77"));  // typed, not saved to the state
    ChooseFile(config);
    Trigger(kSaveConfig);  // nothing remembered yet: asks like Save Config As
    ASSERT_EQ(dialogs.filters.size(), 1u);
    EXPECT_EQ(dialogs.filters[0], QStringLiteral("Statewright configuration files (*.swr)"));
    EXPECT_EQ(window->Config().g_configPath, config);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir / "configs"));
    Bytes written = ReadBytes(config);
    ASSERT_EQ(written.size(), static_cast<std::size_t>(kConfigBytes));
    EXPECT_EQ(written[6], 77);                         // member 0's level
    EXPECT_EQ(ReadBytes(state).at(95 * 447 + 5), 23);  // the state itself is untouched

    Type(Pages().stats, id::kLevel, QStringLiteral("78"));
    Trigger(kSaveConfig);  // no second question
    EXPECT_EQ(dialogs.filters.size(), 1u);
    EXPECT_EQ(ReadBytes(config)[6], 78);

    // Save Config As asks again and remembers the new file.
    const std::string other = dir / "other.swr";
    ChooseFile(other);
    Trigger(kSaveConfigAs);
    EXPECT_EQ(ReadBytes(other)[6], 78);
    EXPECT_EQ(window->Config().g_configPath, other);

    dialogs.paths.push_back(QString());  // cancelled: nothing changes
    Trigger(kSaveConfigAs);
    EXPECT_EQ(window->Config().g_configPath, other);
    EXPECT_THAT(prompter.messages, IsEmpty());
}

TEST_F(ToolsHelpTest, LoadConfigShowsTheValuesForTheMemberShown) {
    Start(QString::fromStdString(state));
    const std::string config = dir / "party.swr";
    Type(Pages().stats, id::kName, QStringLiteral("Zed"));
    ChooseFile(config);
    Trigger(kSaveConfigAs);
    Trigger(57602);  // close; then another document with the member 2 shown
    window->Doc().OpenIfValid(state);
    QComboBox* combo = Pages().stats->CharacterCombo();
    Choose(combo, 2);
    Type(Pages().stats, id::kLevel, QStringLiteral("5"));

    ChooseFile(config);
    Trigger(kLoadConfig);
    EXPECT_EQ(window->Doc().gameState.currentCharacter, 2);
    EXPECT_EQ(Shown(Pages().stats, id::kName), QStringLiteral("Tobi"));
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("20"));  // the file's value
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Zed"));
    Trigger(32773);  // saving writes the loaded values into the state
    EXPECT_EQ(ReadBytes(state).at(95 * 447), static_cast<std::uint8_t>('Z' + 0x30));
}

TEST_F(ToolsHelpTest, ARefusedConfigurationChangesNothing) {
    Start(QString::fromStdString(state));
    const std::string shortFile = dir / "short.swr";
    WriteBytes(shortFile, Bytes(100, 0x41));
    Type(Pages().stats, id::kLevel, QStringLiteral("66"));
    ChooseFile(shortFile);
    Trigger(kLoadConfig);
    EXPECT_THAT(prompter.messages, ElementsAre(msg::kConfigTooShort));
    EXPECT_EQ(Shown(Pages().stats, id::kLevel), QStringLiteral("66"));
    EXPECT_EQ(window->Doc().gameState.characters[0].name[0], 'W');
    EXPECT_TRUE(window->Config().g_configPath.empty());

    // Save Config As onto the open state, or onto its ROM, is refused: both stay whole.
    const Bytes stateBefore = ReadBytes(state), romBefore = ReadBytes(rom);
    for (const std::string& target : {state, rom}) {
        ChooseFile(target);
        Trigger(kSaveConfigAs);
    }
    EXPECT_THAT(prompter.messages, ElementsAre(msg::kConfigTooShort, msg::kConfigNotOverOpenFile,
                                               msg::kConfigNotOverOpenFile));
    EXPECT_EQ(ReadBytes(state), stateBefore);
    EXPECT_EQ(ReadBytes(rom), romBefore);
    // Loading never sets the remembered path, nor does a refused Save Config As: Save Config
    // still asks.
    EXPECT_TRUE(window->Config().g_configPath.empty());
    Trigger(kSaveConfig);
    EXPECT_EQ(dialogs.filters.size(), 4u);
}

TEST_F(ToolsHelpTest, DocumentsOpenWithTheDesktopOrSayWhyNot) {
    WriteBytes(dir / "README.TXT", Bytes{'h', 'i'});
    Start();
    Trigger(32780);
    Trigger(32782);  // "EVENT.TXT" is the file spelt event.txt here
    EXPECT_THAT(opener.opened, ElementsAre(QString::fromStdString(dir / "README.TXT"),
                                           QString::fromStdString(dir / "event.txt")));
    EXPECT_THAT(prompter.messages, IsEmpty());

    Trigger(32783);  // WHATSNEW.TXT is missing: the message says where it was looked for
    EXPECT_THAT(prompter.messages, ElementsAre(std::string(msg::kDocumentMissing) +
                                               "WHATSNEW.TXT\n\nLooked for in this order:\n" +
                                               FolderLines(DataFolders())));
    opener.succeed = false;
    Trigger(32780);
    EXPECT_EQ(prompter.messages.back(),
              std::string(msg::kDocumentNotOpened) + (dir / "README.TXT"));
}

TEST_F(ToolsHelpTest, AboutTextIsReadOnceFromTheStartUpFolderElseTheProgramFolder) {
    std::string text;
    for (int i = 0; text.size() < 3000; ++i) {
        text += "Line " + std::to_string(i) + " of the about text.\r\n";
    }
    text.resize(3000);
    WriteBytes(dir / "about.dat", Bytes(text.begin(), text.end()));
    std::filesystem::create_directory(dir / "states");
    std::filesystem::copy_file(state, dir / "states/game.zs1");
    {
        CurrentDir startUp(dir.Path());
        Start(QString::fromStdString(dir / "states/game.zs1"));  // moves to states/ later
    }
    EXPECT_EQ(window->g_aboutText, text);
    WriteBytes(dir / "about.dat", Bytes{'x'});  // changes while running are not seen

    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* about = qobject_cast<ui::AboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowTitle(), QStringLiteral("About Statewright"));
        shown = about->m_aboutEdit->toPlainText();
        about->accept();
    });
    Trigger(32776);
    EXPECT_EQ(shown, ui::ShownTextBlock(text.substr(0, 2160)));

    // A short text shows whole; a zero byte ends what is shown.
    EXPECT_EQ(ui::AboutDlg(std::string("short\0hidden", 12), nullptr).m_aboutEdit->toPlainText(),
              QStringLiteral("short"));

    // Started in a folder without the file: the program's folder's (here dir). The order of the
    // folders is the core's DataFiles table.
    CurrentDir elsewhere(dir / "states");
    Start();
    EXPECT_EQ(window->g_aboutText, "x");
}

}  // namespace
}  // namespace sw::test
