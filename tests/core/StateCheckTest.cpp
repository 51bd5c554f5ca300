// Recognising a save state and its ROM, with the user's words and answers; the path rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <optional>

#include "Demo.h"
#include "EmulatorStates.h"
#include "Messages.h"
#include "PathRules.h"
#include "RecordingPrompter.h"
#include "Sha256.h"
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
    const bool fifos = Can(kNoFifos, "fifo.zs1");
    ASSERT_TRUE(!fifos || MakeFifo(dir / "fifo.zs1"));
    WriteBytes(dir / "readonly.zs1", demo);
    ASSERT_TRUE(MakeReadOnly(dir / "readonly.zs1", std::filesystem::perms(0444)));
    const std::string readOnly = ReadOnlyReason("0444");
#ifdef _WIN32
    // Held open by another program, as an emulator may hold its state: reading shared, not
    // writing.
    WriteBytes(dir / "held.zs1", demo);
    const HeldFile held(dir / "held.zs1", HeldFile::kDenyWrite);
    ASSERT_TRUE(held.Holds());
#endif
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
        {"readonly.zs1", std::nullopt, kOpenFailed, readOnly.c_str()},
#ifdef _WIN32
        {"held.zs1", std::nullopt, kOpenFailed,
         "the file is in use by another program, which does not let others write it (nothing "
         "was written)"},
#endif
    };
    for (const auto& [name, bytes, message, reason] : cases) {
        if (name == "fifo.zs1" && !fifos) {
            continue;
        }
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
    const Bytes good = MakeDemoRom();
    Bytes foreign = good;
    std::memcpy(&foreign[65984], "VELLUM GAME", 11);
    Bytes nulInTitle = good;
    nulInTitle[65984 + 6] = 0x00;
    const Bytes headerless(good.begin() + 512, good.end());  // a .sfc: the title at 0xFFC0
    Bytes titleAtBoth = good;  // 65,984 is the copier header's title: this one is the game's
    std::memcpy(&titleAtBoth[65472], "VELLUM GATE", 11);
    // bsnes states name their ROM by the SHA-256 of it without copier header.
    const auto bsnesState = [](const Bytes& rom, long sram, bool headered = true) {
        std::string state = BsnesState(DemoWram(), "Balanced", sram);
        state.replace(8, 64, Sha256Hex(std::string(rom.begin() + (headered ? 512 : 0), rom.end())));
        return state;
    };
    const auto bsnesNaming = [&](const Bytes& rom) {
        const std::string state = bsnesState(rom, 0);
        return Bytes(state.begin(), state.end());
    };
    // The cartridge header's battery RAM byte, in a ROM without copier header: 1 KiB << n.
    const auto sramByte = [&](std::uint8_t n) {
        Bytes rom = headerless;
        rom[0xFFD8] = n;
        return rom;
    };
    const auto asBytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
    const Bytes otherRom = [&] {
        Bytes rom = good;
        rom.back() ^= 1;
        return rom;
    }();
    using Files = std::vector<std::pair<std::string, Bytes>>;
    struct Case {
        const char* what;
        std::string state;
        Files files;              // besides the state: ROMs and a bsnes state
        std::string chosen;       // a ROM the user named
        std::deque<bool> answers;  // given exactly when the question must come
        int result;
        std::string accepted;     // the ROM path taken, below the folder
        Bytes validated = {};     // the state as it was validated before the files were put
    };
    const Case cases[] = {
        {"no ROM", "quest.zs1", {}, "", {}, 0, ""},
        {"the game's ROM", "quest.zs1", {{"quest.smc", good}}, "", {}, 1, "quest.smc"},
        {"foreign, Yes", "quest.zs1", {{"quest.smc", foreign}}, "", {true}, 1, "quest.smc"},
        {"foreign, No", "quest.zs1", {{"quest.smc", foreign}}, "", {false}, -1, ""},
        {"0x00 inside the title", "quest.zs1", {{"quest.smc", nulInTitle}}, "", {false}, -1, ""},
        {"ends inside the title",
         "quest.zs1",
         {{"quest.smc", Prefix(good, 65994)}},
         "",
         {false},
         -1,
         ""},
        {"ends behind the title",
         "quest.zs1",
         {{"quest.smc", Prefix(good, 65995)}},
         "",
         {},
         1,
         "quest.smc"},
        {"no copier header, as .sfc",
         "quest.zs1",
         {{"quest.sfc", headerless}},
         "",
         {},
         1,
         "quest.sfc"},
        {"headerless and cut behind its title",
         "quest.zs1",
         {{"quest.sfc", Prefix(headerless, 65483)}},
         "",
         {},
         1,
         "quest.sfc"},
        {"title in both places", "quest.zs1", {{"quest.smc", titleAtBoth}}, "", {}, 1, "quest.smc"},
        {".smc comes first, though foreign",
         "quest.zs1",
         {{"quest.smc", foreign}, {"quest.sfc", good}},
         "",
         {false},
         -1,
         ""},
        {"a folder in .smc's place is no ROM",
         "quest.zs1",
         {{"quest.smc/", {}}, {"quest.sfc", good}},
         "",
         {},
         1,
         "quest.sfc"},
        {"RetroArch's auto state",
         "Quest.state.auto",
         {{"Quest.sfc", headerless}},
         "",
         {},
         1,
         "Quest.sfc"},
        {"the auto state's own cut first",
         "Quest.state.auto",
         {{"Quest.state.smc", good}, {"Quest.smc", foreign}},
         "",
         {},
         1,
         "Quest.state.smc"},
        {"snes9x's slot", "Quest.003", {{"Quest.smc", good}}, "", {}, 1, "Quest.smc"},
        {"ares's slot", "Quest.bs9", {{"Quest.sfc", headerless}}, "", {}, 1, "Quest.sfc"},
        {"a ROM named elsewhere, not the one beside",
         "quest.zs1",
         {{"quest.smc", foreign}, {"roms/Vellum Gate.sfc", headerless}},
         "roms/Vellum Gate.sfc",
         {},
         1,
         "roms/Vellum Gate.sfc"},
        {"a ROM named that is missing",
         "quest.zs1",
         {{"quest.smc", good}},
         "roms/none.sfc",
         {},
         0,
         ""},
        {"bsnes: the ROM it names",
         "Quest.state",
         {{"Quest.state", bsnesNaming(good)}, {"Quest.sfc", headerless}},
         "",
         {},
         1,
         "Quest.sfc"},
        {"bsnes: the same ROM with a copier header",
         "Quest.state",
         {{"Quest.state", bsnesNaming(good)}, {"Quest.smc", good}},
         "",
         {},
         1,
         "Quest.smc"},
        {"bsnes: another ROM with the title, Yes",
         "Quest.state",
         {{"Quest.state", bsnesNaming(otherRom)}, {"Quest.smc", good}},
         "",
         {true},
         1,
         "Quest.smc"},
        {"ares: the battery RAM the ROM says",
         "Quest.bs1",
         {{"Quest.bs1", asBytes(AresState(DemoWram(), 8192))}, {"Quest.sfc", sramByte(3)}},
         "",
         {},
         1,
         "Quest.sfc"},
        {"ares: none, as the ROM says",
         "Quest.bs1",
         {{"Quest.bs1", asBytes(AresState(DemoWram(), 0))}, {"Quest.sfc", sramByte(0)}},
         "",
         {},
         1,
         "Quest.sfc"},
        {"ares: a ROM of 128 KiB of battery RAM, the most a header says", "Quest.bs1",
         {{"Quest.bs1", asBytes(AresState(DemoWram(), 8192))}, {"Quest.sfc", sramByte(7)}}, "",
         {false}, -1, ""},
        {"ares: a ROM of 32 KiB of battery RAM",
         "Quest.bs1",
         {{"Quest.bs1", asBytes(AresState(DemoWram(), 8192))}, {"Quest.sfc", sramByte(5)}},
         "",
         {false},
         -1,
         ""},
        {"RetroArch's bsnes: its ROM, 8 KiB as it says",
         "Quest.state",
         {{"Quest.state", asBytes(Rzip(Rastate(bsnesState(sramByte(3), 8192, false))))},
          {"Quest.sfc", sramByte(3)}},
         "",
         {},
         1,
         "Quest.sfc"},
        {"RetroArch's bsnes: its ROM, but 8 KiB where it says none",
         "Quest.state",
         {{"Quest.state", asBytes(Rzip(Rastate(bsnesState(sramByte(0), 8192, false))))},
          {"Quest.sfc", sramByte(0)}},
         "",
         {true},
         1,
         "Quest.sfc"},
        {"bsnes: another ROM with the title, No",
         "Quest.state",
         {{"Quest.state", bsnesNaming(otherRom)}, {"Quest.smc", good}},
         "",
         {false},
         -1,
         ""},
        {"ares: a state replaced since it was validated is looked at again",
         "Quest.bs1",
         {{"Quest.bs1", asBytes(AresState(DemoWram(), 0))}, {"Quest.sfc", sramByte(0)}},
         "",
         {},
         1,
         "Quest.sfc",
         asBytes(AresState(DemoWram(), 8192))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::filesystem::create_directory(dir / "roms");
        if (!c.validated.empty()) {
            WriteBytes(dir / c.state, c.validated);
            RecordingPrompter validation;
            ASSERT_TRUE(ValidateStateFile(dir / c.state, validation));
        }
        for (const auto& [name, bytes] : c.files) {
            if (name.back() == '/') {
                std::filesystem::create_directory(dir / name);
            } else {
                WriteBytes(dir / name, bytes);
            }
        }
        RecordingPrompter prompter;
        prompter.answers = c.answers;
        std::string romPath = "previous";
        EXPECT_EQ(CheckRom(dir / c.state, romPath, prompter,
                           c.chosen.empty() ? "" : std::string(dir / c.chosen)),
                  c.result);
        EXPECT_EQ(romPath, c.result == 1 ? std::string(dir / c.accepted) : "previous");
        EXPECT_THAT(prompter.messages, IsEmpty());
        EXPECT_EQ(prompter.questions, std::vector<std::string>(c.answers.size(), kRomWarning));
    }
}

TEST(PathRules, CutAtTheLastDotEvenInAFolderName) {
    EXPECT_EQ(RomPathFor("/games/quest.zs1"), "/games/quest.smc");
    EXPECT_EQ(RomPathFor("/games/v1.2/quest"), "/games/v1.smc");
    EXPECT_EQ(RomPathFor("quest"), "quest.smc");
    EXPECT_EQ(RomPathFor("my.quest.zst"), "my.quest.smc");
    EXPECT_THAT(RomCandidatesFor("/g/Quest.state1"), ElementsAre("/g/Quest.smc", "/g/Quest.sfc"));
    EXPECT_THAT(RomCandidatesFor("/g/Quest.STATE.Auto"),
                ElementsAre("/g/Quest.STATE.smc", "/g/Quest.STATE.sfc", "/g/Quest.smc",
                            "/g/Quest.sfc"));
    EXPECT_THAT(RomCandidatesFor("/g/.state.auto/x"),
                ElementsAre("/g/.state.smc", "/g/.state.sfc"));
    EXPECT_THAT(RomCandidatesFor("/g/.state.auto"), ElementsAre("/g/.state.smc", "/g/.state.sfc"));
    EXPECT_EQ(StateBaseName("/games/my.quest.zs1"), "myquest");
    EXPECT_EQ(StateBaseName("quest.zs1"), "quest");
    EXPECT_EQ(StateBaseName("/games/v1.2/quest"), "");
    EXPECT_EQ(DescriptionFileName(StateBaseName("/games/quest")), "event..txt");
    EXPECT_EQ(StateFileName("/games/quest.zs1"), "quest.zs1");
    EXPECT_EQ(FolderOf("/games/quest.zs1"), "/games/");
    EXPECT_EQ(FolderOf("quest.zs1"), "");
    if (kWindows) {  // a backslash separates as well, after a drive or a server's share
        EXPECT_EQ(RomPathFor("C:\\games\\v1.2\\quest"), "C:\\games\\v1.smc");
        EXPECT_THAT(RomCandidatesFor("C:\\g\\.state.auto\\x"),
                    ElementsAre("C:\\g\\.state.smc", "C:\\g\\.state.sfc"));
        EXPECT_THAT(
            RomCandidatesFor("\\\\srv\\share\\Quest.STATE.auto"),
            ElementsAre("\\\\srv\\share\\Quest.STATE.smc", "\\\\srv\\share\\Quest.STATE.sfc",
                        "\\\\srv\\share\\Quest.smc", "\\\\srv\\share\\Quest.sfc"));
        EXPECT_EQ(StateBaseName("\\\\srv\\share\\my.quest.zs1"), "myquest");
        EXPECT_EQ(StateBaseName("C:\\games\\v1.2\\quest"), "");
        EXPECT_EQ(StateFileName("C:/games\\quest.zs1"), "quest.zs1");
        EXPECT_EQ(FolderOf("\\\\srv\\share\\quest.zs1"), "\\\\srv\\share\\");
    }
}

TEST(PathRules, RecentFilesAreAbsoluteNewestFirstEachOnceAndAtMostEight) {
    // An absolute path of the system's own form: "/s/9.zs1" on Windows is on the current drive.
    const auto s = [](const std::string& name) { return (kWindows ? "C:\\s\\" : "/s/") + name; };
    std::vector<std::string> list;
    for (int k = 1; k <= 9; ++k) {
        list = WithRecentFile(list, s(std::to_string(k) + ".zs1"));
    }
    EXPECT_THAT(list, ElementsAre(s("9.zs1"), s("8.zs1"), s("7.zs1"), s("6.zs1"), s("5.zs1"),
                                  s("4.zs1"), s("3.zs1"), s("2.zs1")));
    // Opened again: moved to the top, not listed twice; the same file by a longer way too.
    list = WithRecentFile(list, kWindows ? s(".\\x\\..\\5.zs1") : s("./x/../5.zs1"));
    EXPECT_THAT(list, ElementsAre(s("5.zs1"), s("9.zs1"), s("8.zs1"), s("7.zs1"), s("6.zs1"),
                                  s("4.zs1"), s("3.zs1"), s("2.zs1")));
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
