// Recognising a save state and its ROM, with the user's words and answers; the path rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <optional>

#include "Demo.h"
#include "EmulatorStates.h"
#include "Messages.h"
#include "PathRules.h"
#include "RecordingPrompter.h"
#include "StateCheck.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kOpenFailed[] =
    "An error occured while attempting to open this file. Check to make sure the file is not "
    "read-only, or currently in use.";
constexpr char kNotAState[] = "Error opening file:\nFile is not a ZSNES save state.";
constexpr char kRomWarning[] =
    "WARNING: Associated ROM not valid\n\nOpening any non-Vellumgate save states can cause "
    "severe\ndamage to said save states. Do you want to continue anyway?";

Bytes Prefix(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + size);
}

TEST(ValidateStateFile, AcceptsAStateAndSaysWhatIsWrongWithAnythingElse) {
    TempDir dir;
    const Bytes demo = MakeDemoState();
    Bytes lowerCase = demo;
    std::memcpy(lowerCase.data(), "zsnes save state", 16);
    Bytes byte16 = Prefix(demo, 43163);  // the shortest state; byte 16 is not looked at
    byte16[16] = 0x00;
    // Tests run as root, who may write a read-only file: a folder cannot be opened for writing.
    std::filesystem::create_directory(dir / "folder.zs1");
    ASSERT_EQ(mkfifo((dir / "fifo.zs1").c_str(), 0644), 0);
    WriteBytes(dir / "readonly.zs1", demo);
    std::filesystem::permissions(dir / "readonly.zs1", std::filesystem::perms(0444));
    // The file, what is written there first (if anything), the message, and for an open failure
    // the real reason it goes on with.
    const auto asBytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    const std::string bsnes = BsnesState(DemoWram(), "Balanced", 0);
    const std::string v28 = std::string(msg::kStateNotKnown) +
                            "a bsnes state of serializer version 28, which this program does not know.";
    const std::tuple<std::string, std::optional<Bytes>, const char*, const char*> cases[] = {
        {"byte16.zs1", byte16, nullptr, nullptr},
        {"Game.state", asBytes(Rzip(Rastate(bsnes))), nullptr, nullptr},
        {"Game.state1", asBytes(bsnes.substr(0, 4) + U32Bytes(28) + bsnes.substr(8)), v28.c_str(),
         nullptr},
        {"lower.zs1", lowerCase, kNotAState, nullptr},
        {"tiny.zs1", Prefix(demo, 15), kNotAState, nullptr},
        {"short.zs1", Prefix(demo, 43162), msg::kStateTooShort, nullptr},
        {"missing.zs1", std::nullopt, kOpenFailed, "No such file or directory"},
        {"folder.zs1", std::nullopt, kOpenFailed, "it is a folder, not a file"},
        {"fifo.zs1", std::nullopt, kOpenFailed, "it is a named pipe (FIFO), not a regular file"},
        {"readonly.zs1", std::nullopt, kOpenFailed, "the file is read-only (mode 0444)"},
    };
    for (const auto& [name, bytes, message, reason] : cases) {
        SCOPED_TRACE(name);
        const std::string path = dir / name;
        if (bytes) {
            WriteBytes(path, *bytes);
        }
        std::vector<std::string> expected;
        if (message != nullptr) {
            expected.push_back(message + (reason ? "\n\n" + path + ": " + reason : ""));
        }
        RecordingPrompter prompter;
        EXPECT_EQ(ValidateStateFile(path, prompter), message == nullptr);
        EXPECT_EQ(prompter.messages, expected);
        EXPECT_THAT(prompter.questions, IsEmpty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.zs1"));  // not created
}

TEST(CheckRom, AcceptsTheGamesTitleAndAsksAboutAnyOther) {
    TempDir dir;
    const std::string state = dir / "quest.zs1";
    const std::string rom = dir / "quest.smc";
    const Bytes good = MakeDemoRom();
    Bytes foreign = good;
    std::memcpy(&foreign[65984], "VELLUM GAME", 11);
    Bytes nulInTitle = good;
    nulInTitle[65984 + 6] = 0x00;
    // What, the ROM (if any), the answers (given exactly when the question must come), result.
    const std::tuple<const char*, std::optional<Bytes>, std::deque<bool>, int> cases[] = {
        {"no ROM", std::nullopt, {}, 0},
        {"the game's ROM", good, {}, 1},
        {"foreign, Yes", foreign, {true}, 1},
        {"foreign, No", foreign, {false}, -1},
        {"0x00 inside the title", nulInTitle, {false}, -1},
        {"ends inside the title", Prefix(good, 65994), {false}, -1},
        {"ends behind the title", Prefix(good, 65995), {}, 1},
    };
    for (const auto& [what, bytes, answers, result] : cases) {
        SCOPED_TRACE(what);
        std::filesystem::remove(rom);
        if (bytes) {
            WriteBytes(rom, *bytes);
        }
        RecordingPrompter prompter;
        prompter.answers = answers;
        std::string romPath = "previous";
        EXPECT_EQ(CheckRom(state, romPath, prompter), result);
        EXPECT_EQ(romPath, result == 1 ? rom : "previous");
        EXPECT_THAT(prompter.messages, IsEmpty());
        EXPECT_EQ(prompter.questions, std::vector<std::string>(answers.size(), kRomWarning));
    }
}

TEST(PathRules, CutAtTheLastDotEvenInAFolderName) {
    EXPECT_EQ(RomPathFor("/games/quest.zs1"), "/games/quest.smc");
    EXPECT_EQ(RomPathFor("/games/v1.2/quest"), "/games/v1.smc");
    EXPECT_EQ(RomPathFor("quest"), "quest.smc");
    EXPECT_EQ(RomPathFor("my.quest.zst"), "my.quest.smc");
    EXPECT_EQ(StateBaseName("/games/my.quest.zs1"), "myquest");
    EXPECT_EQ(StateBaseName("quest.zs1"), "quest");
    EXPECT_EQ(StateBaseName("/games/v1.2/quest"), "");
    EXPECT_EQ(DescriptionFileName(StateBaseName("/games/quest")), "event..txt");
    EXPECT_EQ(StateFileName("/games/quest.zs1"), "quest.zs1");
    EXPECT_EQ(FolderOf("/games/quest.zs1"), "/games/");
    EXPECT_EQ(FolderOf("quest.zs1"), "");
}

TEST(PathRules, RecentFilesAreAbsoluteNewestFirstEachOnceAndAtMostEight) {
    std::vector<std::string> list;
    for (int k = 1; k <= 9; ++k) {
        list = WithRecentFile(list, "/s/" + std::to_string(k) + ".zs1");
    }
    EXPECT_THAT(list, ElementsAre("/s/9.zs1", "/s/8.zs1", "/s/7.zs1", "/s/6.zs1", "/s/5.zs1",
                                  "/s/4.zs1", "/s/3.zs1", "/s/2.zs1"));
    // Opened again: moved to the top, not listed twice; the same file by a longer way too.
    list = WithRecentFile(list, "/s/./x/../5.zs1");
    EXPECT_THAT(list, ElementsAre("/s/5.zs1", "/s/9.zs1", "/s/8.zs1", "/s/7.zs1", "/s/6.zs1",
                                  "/s/4.zs1", "/s/3.zs1", "/s/2.zs1"));
    EXPECT_EQ(WithRecentFile({}, "a.zs1").front(),
              (std::filesystem::current_path() / "a.zs1").string());
    // Whatever a settings file held: no empty entry, no repeat, eight at most.
    std::vector<std::string> stored{"", "/a", "/a", "/b"};
    stored.resize(40, "/c");
    stored.insert(stored.end(), {"/d", "/e", "/f", "/g", "/h", "/i", "/j"});
    EXPECT_THAT(CleanRecentFiles(stored),
                ElementsAre("/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h"));

    for (const auto& [index, path, text] :
         {std::tuple<std::size_t, const char*, const char*>{0, "/s/q.zs1", "&1 /s/q.zs1"},
          {7, "/R&D/a&&b.zs1", "&8 /R&&D/a&&&&b.zs1"},
          {2, "/s/line\nbreak\n.zs1", "&3 /s/line\\nbreak\\n.zs1"},
          {3, "/s/tab\t.zs1", "&4 /s/tab\\t.zs1"},
          {4, "/s/two words~\x7f.zs1", "&5 /s/two words~\\177.zs1"}}) {
        EXPECT_EQ(RecentFileMenuText(index, path), text) << path;
    }
}

}  // namespace
}  // namespace sw::test
