// The hidden extras through the window: the goods secrets in the Goods page's text box, the
// name phrases' messages, sounds and movies, the movie copies made at start-up, and the
// complaints about dropping several files.
#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>

#include "EditorFixture.h"
#include "GoodsSecrets.h"
#include "MovieFiles.h"
#include "PickleStory.h"
#include "pages/ControlIds.h"
#include "pages/GameTextShown.h"
#include "pages/GoodsPage.h"
#include "pages/MiscPage.h"
#include "platform/ShockwaveFlash.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
namespace id = ui::id;

// Messages and sounds in one log, so that their order shows.
class Log : public RecordingPrompter, public ui::SoundPlayer {
public:
    void ShowMessage(const std::string& text) override { events.push_back(text); }
    void Play(int id) override { events.push_back("sound " + std::to_string(id)); }
    std::vector<std::string> events;
};

class HiddenExtrasTest : public EditorTest {
protected:
    ui::GoodsPage* Goods() const { return Pages().goods; }
    QPlainTextEdit* TextBox() const { return Goods()->SecretText(); }
    ui::ShockwaveFlash* Flash() const { return Pages().misc->m_flash; }
    void Save() { Trigger(32773); }
    void SetMember0Goods(std::initializer_list<std::uint8_t> codes) {
        sw::Goods goods{};
        std::copy(codes.begin(), codes.end(), goods.begin());
        Goods()->m_goods = goods;  // member 0 is shown
    }
    // Starts the window with every message and sound going into one log.
    void StartLogging(const QString& file) {
        window = std::make_unique<ui::MainDlg>(file, ui::Platform{log, dialogs, log, opener},
                                               DataFolders(), SettingsFile());
    }
    void SavePlayerName(const QString& name) {
        log.events.clear();
        Type(Pages().misc, id::kPlayerName, name);
        Save();
    }

    Log log;
};

TEST_F(HiddenExtrasTest, TheSecretItemOfTheFirstMemberShowsTheMessage) {
    Start(QString::fromStdString(state));
    EXPECT_TRUE(TextBox()->isHidden());
    SetMember0Goods({0x01, 206});
    Save();
    ASSERT_FALSE(TextBox()->isHidden());
    const std::string expected = GoodsSecretMessage("Wren", "Inkwell of Ages");
    EXPECT_EQ(TextBox()->toPlainText(), ui::ShownTextBlock(expected));

    // Renamed to a name with a consonant: " a ".
    Goods()->m_itemNames[206] = "Bottled Ink";
    Save();
    EXPECT_TRUE(TextBox()->toPlainText().contains(QStringLiteral("Wren a Bottled Ink.")));

    // Carried by another member only: nothing, and the box hides again.
    SetMember0Goods({0x01});
    window->Doc().gameState.characters[1].goods[0] = 206;
    Save();
    EXPECT_TRUE(TextBox()->isHidden());
    EXPECT_TRUE(sounds.played.empty());
}

TEST_F(HiddenExtrasTest, APickleAnywhereTellsTheStoryInsteadOfTheMessage) {
    Start(QString::fromStdString(state));
    SetMember0Goods({206});
    window->Doc().gameState.characters[3].goods[13] = 0x40;
    Goods()->m_itemNames[0x40] = "Jar of PICKLED Onions";  // a renamed item counts by its name
    Save();
    EXPECT_EQ(sounds.played, std::vector<int>{191});
    ASSERT_FALSE(TextBox()->isHidden());
    EXPECT_EQ(TextBox()->toPlainText(), ui::ShownTextBlock(PickleStoryText()));

    Trigger(57602);  // closing disables the page and hides the box
    EXPECT_TRUE(TextBox()->isHidden());
}

TEST_F(HiddenExtrasTest, NamePhrasesReactInOrderAndOtherNamesReset) {
    StartLogging(QString::fromStdString(state));
    const QString moviesAt = QString::fromStdString(dir / "data/statewright/");

    SavePlayerName(QStringLiteral("Mr Thistlewood"));  // any letter case
    EXPECT_THAT(log.events, ElementsAre("Hello, Mr. Thistlewood!"));
    EXPECT_FALSE(Flash()->isHidden());
    EXPECT_TRUE(Pages().misc->m_rentStatic->isHidden());
    EXPECT_EQ(Flash()->MoviePath(), moviesAt + QStringLiteral("statewright.pl"));
    EXPECT_TRUE(Flash()->SmoothQuality());
    EXPECT_DOUBLE_EQ(Flash()->ZoomScale(), 2.0);
    EXPECT_EQ(Flash()->PanOffset(), QPointF(80, -5));

    SavePlayerName(QStringLiteral("mr thistles"));  // reset first, then movie B at low quality
    EXPECT_THAT(log.events, ElementsAre("Close, but no banana, Barnaby."));
    EXPECT_EQ(Flash()->MoviePath(), moviesAt + QStringLiteral("statewright.ini"));
    EXPECT_FALSE(Flash()->SmoothQuality());
    EXPECT_DOUBLE_EQ(Flash()->ZoomScale(), 1.0);
    EXPECT_FALSE(Flash()->isHidden());

    SavePlayerName(QStringLiteral("Marlowe"));
    EXPECT_THAT(log.events, ::testing::IsEmpty());
    EXPECT_TRUE(Flash()->isHidden());
    EXPECT_FALSE(Flash()->IsPlaying());
    EXPECT_EQ(Flash()->MoviePath(), ui::MiscPage::kNoMoviePath);
    EXPECT_FALSE(Pages().misc->m_rentStatic->isHidden());

    // A sound before its message plays on under it; one after it starts when it is closed.
    SavePlayerName(QStringLiteral("love potion"));
    EXPECT_THAT(log.events,
                ElementsAre("sound 189", "All you need is love, Caspar. That, and a clue."));
    SavePlayerName(QStringLiteral("best editor"));
    EXPECT_THAT(log.events, ElementsAre("You know it.", "sound 180"));
}

// Started in a folder without the data file, the program's folder's (here dir) is found; the
// order of the folders is the core's DataFiles table, the copying MovieFolder's.
TEST_F(HiddenExtrasTest, MoviesAreCopiedAtStartUpFromTheDataFileTheLookupFinds) {
    const std::string source =
        QCoreApplication::applicationDirPath().toStdString() + "/statewright.dat";
    ASSERT_TRUE(std::filesystem::exists(source));
    std::filesystem::copy_file(source, dir / "statewright.dat");
    std::filesystem::create_directory(dir / "elsewhere");
    {
        CurrentDir elsewhere(dir / "elsewhere");
        Start();
    }
    const Bytes data = ReadBytes(source);
    for (const auto& [name, movie] : {std::pair{"pl", kMovieA}, {"ini", kMovieB}}) {
        EXPECT_EQ(ReadBytes(dir / "data/statewright/statewright." + name),
                  Bytes(data.begin() + movie.offset,
                        data.begin() + movie.offset + static_cast<long>(movie.length)));
    }
}

TEST_F(HiddenExtrasTest, SeveralDroppedFilesComplainInACycleThatSingleDropsDoNotReset) {
    Start();
    const QString other = QString::fromStdString(dir / "other.zs2");
    for (int drop = 0; drop < 12; ++drop) {
        window->OnDropFiles({other, other});
        if (drop == 4) {
            window->OnDropFiles({QString::fromStdString(state)});
        }
    }
    ASSERT_EQ(prompter.messages.size(), 12u);
    EXPECT_EQ(prompter.messages[2], "Cut that out!");
    EXPECT_EQ(prompter.messages[9],
              "Okay, if you like those files so much, let's see how you do when I DELETE THEM! "
              "HAHAHAHAHAHAHAH!");
    EXPECT_EQ(prompter.messages[10], prompter.messages[0]);
    EXPECT_EQ(prompter.messages[11], "Hey! What did I just tell you?");
    EXPECT_TRUE(std::filesystem::exists(dir / "vellumgate.zs1"));  // only words
}

}  // namespace
}  // namespace sw::test
