// Flag numbers as text, and the description files in the working directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "FlagDescriptions.h"
#include "PathRules.h"
#include "ReadBack.h"
#include "RecordingPrompter.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr char kCannotCreate[] =
    "ERROR: Cannot create event flag description file.\n\nThere is probably no ROM in the "
    "current directory that is associated with the save state you have open.";

TEST(FlagNumbers, AreFourHexDigitsAndReadLikeStrtoul) {
    const std::pair<int, const char*> shown[] = {{1, "$0001"},   {15, "$000F"},  {16, "$0010"},
                                                 {255, "$00FF"}, {256, "$0100"}, {1024, "$0400"}};
    for (const auto& [number, text] : shown) {
        EXPECT_EQ(FlagNumberText(number), text);
        EXPECT_EQ(ParseFlagNumber(text), number);
    }
    // Signs: one, before any "0x", read as 32 bits; an overflow saturates whatever the sign.
    const std::pair<const char*, int> read[] = {
        {"10", 16},        {"0x10", 16},     {"0X10", 16},  {" $10", 16},     {"1$0", 16},
        {"10:x", 16},      {"zz", 0},        {"", 0},       {"0x", 0},        {"-1", -1},
        {"+10", 16},       {" -$0x1F", -31}, {"$-10", -16}, {"-FFFFFFFF", 1}, {"-FFFFFFFFF", -1},
        {"100000000", -1}, {"+-1", 0},       {"- 1", 0},    {"0x5", 5},       {"0x0A", 10}};
    for (const auto& [text, number] : read) {
        EXPECT_EQ(ParseFlagNumber(text), number) << text;
    }
}

TEST(NumberForms, EveryFormThroughEveryReader) {
    // The boxes' and set's decimal reader, the flag number reader (Goto, description files),
    // the command line's and JSON's flag number reader, and the slot a description file's line
    // "<form>:x" lands in (0: none).
    struct Row {
        const char* form;
        std::int32_t typed, flag, typedFlag, slot;
    };
    const Row rows[] = {
        {"12", 12, 0x12, 0x12, 0x12},
        {"+12", 12, 0x12, 0x12, 0x12},
        {"  +7", 7, 7, 7, 7},
        {"-12", -12, -0x12, 0, 0},
        {"0x010", 0, 0x10, 0x10, 0x10},
        {"0x0", 0, 0, 0, 0},
        {"0X3ff", 0, 0x3FF, 0x3FF, 0x3FF},
        {"$0400", 0, 0x400, 0x400, 0x400},
        {"$0401", 0, 0x401, 0x401, 0},
        {"12abc", 12, 0x12ABC, 0x12ABC, 0},
        {"9z", 9, 9, 9, 9},
        {"", 0, 0, 0, 0},
        {"+", 0, 0, 0, 0},
        {"2147483647", INT32_MAX, -1, -1, 0},
        {"2147483648", INT32_MAX, -1, -1, 0},
        {"-2147483649", INT32_MIN, -1, 0, 0},
        {"99999999999", INT32_MAX, -1, -1, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseTypedNumber(row.form), row.typed) << row.form;
        EXPECT_EQ(ParseFlagNumber(row.form), row.flag) << row.form;
        EXPECT_EQ(ParseTypedFlagNumber(row.form), row.typedFlag) << row.form;
        DescriptionTable table;
        ParseDescriptions(std::string(row.form) + ":x\n", table);
        const auto found = std::find(table.begin(), table.end(), "x\n");
        EXPECT_EQ(found == table.end() ? 0 : found - table.begin(), row.slot) << row.form;
    }
}

class Descriptions : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(programDir); }
    void Write(const std::string& name, const std::string& text) {
        WriteBytes(name, Bytes(text.begin(), text.end()));
    }

    TempDir dir;
    CurrentDir cwd{dir.Path()};
    std::string programDir = dir / "program/";
    DescriptionTable table;
    DescriptionSource source;
    RecordingPrompter prompter;
};

TEST_F(Descriptions, ReadNumbersInEveryFormWithTheLaterLineWinning) {
    const std::string longText(5000, 'w');  // far beyond any line buffer
    Write("event.quest.txt",
          "'$0001:a comment\n"
          "$0010:Gift box\n"
          "10:Gift box again\r\n"
          "0x11:Met the binder: page two::\n"
          "::$0012::Lamp\n"
          "$0000:slot zero\n"
          "$0401:out of range\n"
          "-1:out of range\n"
          "$0020\n"
          "\n"
          "$0030:" +
              longText +
              "\n"
              "$0400:last line without end");
    table.fill("stale");
    LoadDescriptions(table, "quest", programDir, prompter);
    EXPECT_THAT(prompter.messages, IsEmpty());
    EXPECT_EQ(table[16], "Gift box again\n");
    EXPECT_EQ(table[17], "Met the binder: page two::\n");  // colons and all
    EXPECT_EQ(table[18], "Lamp\n");
    EXPECT_EQ(table[0], "slot zero\n");
    EXPECT_EQ(table[48], longText + "\n");
    EXPECT_EQ(table[1024], "last line without end");
    EXPECT_EQ(std::count(table.begin(), table.end(), ""), 1025 - 6);
}

TEST_F(Descriptions, FallBackToTheDefaultAndComplainTwiceWithoutEither) {
    table.fill("stale");
    LoadDescriptions(table, "quest", programDir, prompter);
    EXPECT_THAT(prompter.messages,
                ElementsAre("Failed to load default.",
                            "WARNING: event.txt file not found.\n\nCheck to make sure this file "
                            "exists in the program directory. If you are running this program "
                            "through a shortcut, make sure the working directory of the shortcut "
                            "is the same as the program's directory. If you moved things around "
                            "and deleted things, and you can't figure out why it's not working "
                            "anymore, you are an idiot."));
    EXPECT_EQ(std::count(table.begin(), table.end(), ""), 1025);

    Write(programDir + "event.txt", "1:From the default\n");
    prompter.messages.clear();
    LoadDescriptions(table, "quest", programDir, prompter);
    EXPECT_EQ(table[1], "From the default\n");
    Write("event.quest.txt", "2:Own\n");
    LoadDescriptions(table, "quest", programDir, prompter);
    EXPECT_EQ(table[1], "");
    EXPECT_EQ(table[2], "Own\n");
    EXPECT_THAT(prompter.messages, IsEmpty());
}

TEST_F(Descriptions, ALastLineOfColonsIsAParseErrorThatKeepsWhatWasRead) {
    Write("event.quest.txt", "1:first\n::\n2:second\n:::");
    LoadDescriptions(table, "quest", programDir, prompter);
    EXPECT_THAT(prompter.messages, ElementsAre("ERROR: Parse error reading events.dat"));
    EXPECT_EQ(table[1], "first\n");
    EXPECT_EQ(table[2], "second\n");
}

TEST_F(Descriptions, SaveWrites1026LinesThroughATemporaryFile) {
    table[0] = "never written";
    table[5] = "Met the binder: page two";
    table[6] = "Lamp\r\r\n";  // a return at the end would be read as part of the line end
    table[7] = "a\rb";
    table[16] = "Gift box\n";
    table[1024] = "Last\nline";
    ASSERT_TRUE(SaveDescriptions(table, "quest", source, prompter));
    EXPECT_THAT(prompter.messages, IsEmpty());
    const std::string text = ReadText(dir / "event.quest.txt");
    // A new file has the system's line ends.
    const auto ended = [](std::string lines) {
        for (std::size_t at = 0; kWindows && (at = lines.find('\n', at)) != std::string::npos;
             at += 2) {
            lines.insert(at, "\r");
        }
        return lines;
    };
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1026);
    EXPECT_THAT(text, StartsWith(ended("'Statewright-generated event description listing\n'\n"
                                       "$0001:\n")));
    EXPECT_THAT(text,
                HasSubstr(ended("\n$0005:Met the binder: page two\n$0006:Lamp\n$0007:a\rb\n")));
    EXPECT_THAT(text, HasSubstr(ended("\n$0010:Gift box\n$0011:\n")));
    EXPECT_THAT(text, EndsWith(ended("\n$03FF:\n$0400:Lastline\n")));
    EXPECT_EQ(table[16], "Gift box");  // line feeds leave the table too
    EXPECT_EQ(table[6], "Lamp");
    EXPECT_FALSE(std::filesystem::exists(dir / "event.quest.txt.tmp"));

    DescriptionTable back;
    LoadDescriptions(back, "quest", programDir, prompter);
    EXPECT_EQ(back[0], "");
    EXPECT_EQ(back[5], "Met the binder: page two\n");
    EXPECT_EQ(back[6], "Lamp\n");
    EXPECT_EQ(back[7], "a\rb\n");
    EXPECT_EQ(back[16], "Gift box\n");
    EXPECT_EQ(back[1024], "Lastline\n");
}

TEST_F(Descriptions, SaveNeverTouchesOtherFilesAndKeepsLinksAndModes) {
    namespace fs = std::filesystem;
    if (kNoLinks) {
        GTEST_SKIP() << kNoLinks;
    }
    // A link planted at the old fixed temporary name, pointing outside the folder.
    Write(dir / "victim.txt", "precious\n");
    fs::create_directory("notes");
    fs::current_path("notes");
    fs::create_symlink("../victim.txt", "event.quest.txt.tmp");
    // The description file is a link into another folder, and private to its owner.
    fs::create_directory(dir / "shared");
    Write(dir / "shared/quest.txt", "1:old\n");
    fs::permissions(dir / "shared/quest.txt", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("../shared/quest.txt", "event.quest.txt");
    table[1] = "new";
    ASSERT_TRUE(SaveDescriptions(table, "quest", source, prompter));
    EXPECT_EQ(ReadText(dir / "victim.txt"), "precious\n");
    EXPECT_TRUE(fs::is_symlink("event.quest.txt.tmp"));
    EXPECT_TRUE(fs::is_symlink("event.quest.txt"));
    EXPECT_THAT(ReadText(dir / "shared/quest.txt"), HasSubstr("\n$0001:new\n"));
    EXPECT_EQ(fs::status(dir / "shared/quest.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    // Nothing else was left in either folder.
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "shared"), fs::directory_iterator()), 1);

    // A target that is no regular file is refused, and nothing is left behind.
    fs::remove("event.quest.txt");
    fs::create_directory("event.quest.txt");
    EXPECT_FALSE(SaveDescriptions(table, "quest", source, prompter));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], std::string(kCannotCreate) + "\n\n" + dir.Path() +
                                        "/notes/event.quest.txt: it is a folder, not a file");
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
}

TEST_F(Descriptions, AnUnreadableOwnFileIsSaidAndNeverWrittenOver) {
    Write(programDir + "event.txt", "1:default\n");
    if (Can(kNoModeBits, "an own file of mode 0200")) {
        Write("event.quest.txt", "1:my note\n");
        std::filesystem::permissions("event.quest.txt", std::filesystem::perms::owner_write);
        source = LoadDescriptions(table, "quest", programDir, prompter);
        EXPECT_TRUE(source.ownFileUnreadable);
        EXPECT_EQ(table[1], "default\n");
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_THAT(prompter.messages[0],
                    StartsWith("ERROR: The event flag description file could not be read.\n\n" +
                               dir.Path() +
                               "/event.quest.txt: the file's mode (0200) allows no "
                               "reading\n\nThe default descriptions are shown"));
        table[1] = "edited";
        EXPECT_FALSE(SaveDescriptions(table, "quest", source, prompter));
        EXPECT_THAT(prompter.messages.back(),
                    StartsWith("ERROR: The event flag descriptions were not written."));
        std::filesystem::permissions("event.quest.txt", std::filesystem::perms::owner_all);
        EXPECT_EQ(ReadText("event.quest.txt"), "1:my note\n");
    }

    // A folder or a FIFO in its place: the same, and nothing waits on the FIFO.
    for (const auto& [lacking, make] :
         {std::pair{kNoFifos, +[] { return MakeFifo("event.quest.txt"); }},
          {nullptr, +[] { return std::filesystem::create_directory("event.quest.txt"); }}}) {
        if (!Can(lacking, "a FIFO for an own file")) {
            continue;
        }
        std::filesystem::remove_all("event.quest.txt");
        ASSERT_TRUE(make());
        prompter.messages.clear();
        source = LoadDescriptions(table, "quest", programDir, prompter);
        EXPECT_TRUE(source.ownFileUnreadable);
        EXPECT_EQ(table[1], "default\n");
        EXPECT_EQ(prompter.messages.size(), 1u);
    }
}

// Another program (a text editor) changes the file between the load and an edit made here:
// what it wrote is kept, and only what was edited here goes over it.
TEST_F(Descriptions, AnEditKeepsWhatAnotherProgramWroteMeanwhile) {
    namespace fs = std::filesystem;
    const auto in = [this](const char* text) {
        return [this, text] { Write("event.quest.txt", text); };  // in place: same inode
    };
    struct Row {
        const char* what;
        const char* ownFile;  // before the load; nullptr for none (the default is read)
        fs::perms mode;
        std::function<void()> meanwhile;
        std::size_t number;
        const char* text;
        bool written;
        std::vector<std::string> lines;                          // the file's lines afterwards
        std::vector<std::pair<std::size_t, std::string>> shown;  // the table afterwards
        const char* lacking = nullptr;
    };
    const fs::perms rw = fs::perms::owner_read | fs::perms::owner_write;
    const Row rows[] = {
        {"a line changed in place, same size",
         "1:one\n2:two\n",
         rw,
         in("1:one\n2:TWO\n"),
         3,
         "third",
         true,
         {"$0001:one", "$0002:TWO", "$0003:third"},
         {{2, "TWO"}, {3, "third"}}},
        {"replaced by another file with a line more",
         "1:one\n2:two\n",
         rw,
         [this] {
             Write("new.txt", "1:one\n2:two\n4:four\n");
             fs::rename("new.txt", "event.quest.txt");
         },
         3,
         "third",
         true,
         {"$0001:one", "$0002:two", "$0003:third", "$0004:four"},
         {{4, "four"}}},
        {"the line edited here is ours",
         "1:one\n2:two\n",
         rw,
         in("3:theirs\n2:TWO\n"),
         3,
         "mine",
         true,
         {"$0001:", "$0002:TWO", "$0003:mine"},
         {{1, ""}, {3, "mine"}}},
        {"an editor closed unchanged edits nothing",
         "1:one\n2:two\n",
         rw,
         in("2:TWO\n"),
         2,
         "two",
         true,
         {"$0002:TWO"},
         {{2, "TWO"}}},
        {"deleted: written from memory",
         "1:one\n2:two\n",
         rw,
         [] { fs::remove("event.quest.txt"); },
         3,
         "third",
         true,
         {"$0001:one", "$0002:two", "$0003:third"},
         {{1, "one"}}},
        {"created where the default was read",
         nullptr,
         rw,
         in("2:own\n"),
         3,
         "third",
         true,
         {"$0001:", "$0002:own", "$0003:third"},
         {{1, ""}, {2, "own"}}},
        {"an earlier edit not yet written still goes over it",
         "1:one\n2:two\n",
         rw,
         [this] {
             fs::permissions("event.quest.txt", fs::perms::owner_read);
             EXPECT_FALSE(EditDescription(table, 1, "first try", "quest", source, prompter));
             fs::permissions("event.quest.txt", fs::perms::owner_all);
             Write("event.quest.txt", "1:one\n2:two\n4:four\n");
             prompter.messages.clear();
         },
         3,
         "third",
         true,
         {"$0001:first try", "$0003:third", "$0004:four"},
         {{1, "first try"}, {4, "four"}}},
        {"rewritten in Windows-1252",
         "1:one\n",
         rw,
         in("1:one\n2:caf\xE9\n"),
         3,
         "na\xC3\xAFve",
         true,
         {"$0002:caf\xE9", "$0003:na\xEFve"},
         {{2, "caf\xC3\xA9"}}},
        {"unreadable at the load, readable now",
         "1:one\n2:two\n",
         fs::perms::owner_write,
         [this] {
             fs::permissions("event.quest.txt", rw);
             prompter.messages.clear();
         },
         3,
         "third",
         true,
         {"$0001:one", "$0003:third"},
         {{1, "one"}, {2, "two"}},
         kNoModeBits},
        {"unreadable now: not written",
         "1:one\n2:two\n",
         rw,
         [] { fs::permissions("event.quest.txt", fs::perms::owner_write); },
         3,
         "third",
         false,
         {"1:one", "2:two"},
         {{1, "one\n"}, {3, "third"}},
         kNoModeBits},
    };
    for (const Row& row : rows) {
        if (!Can(row.lacking, row.what)) {
            continue;
        }
        SCOPED_TRACE(row.what);
        fs::remove("event.quest.txt");
        Write(programDir + "event.txt", "1:default\n");
        if (row.ownFile != nullptr) {
            Write("event.quest.txt", row.ownFile);
            fs::permissions("event.quest.txt", row.mode);
        }
        prompter.messages.clear();
        source = LoadDescriptions(table, "quest", programDir, prompter);
        row.meanwhile();
        EXPECT_EQ(EditDescription(table, row.number, row.text, "quest", source, prompter),
                  row.written);
        if (row.written) {
            EXPECT_THAT(prompter.messages, IsEmpty());
        } else {
            EXPECT_THAT(prompter.messages,
                        ElementsAre(StartsWith("ERROR: The event flag descriptions were not "
                                               "written.\n\nThe file cannot be read")));
            EXPECT_THAT(prompter.messages[0], EndsWith("/event.quest.txt: the file's mode (0200) "
                                                       "allows no reading"));
        }
        fs::permissions("event.quest.txt", fs::perms::owner_all);
        std::string file = "\n" + ReadText("event.quest.txt");
        for (std::size_t at; (at = file.find("\r\n")) != std::string::npos;) {
            file.erase(at, 1);  // a new file's line ends are the other test's
        }
        for (const std::string& line : row.lines) {
            EXPECT_THAT(file, HasSubstr("\n" + line + "\n")) << file;
        }
        EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), row.written ? 1027 : 3);
        for (const auto& [number, text] : row.shown) {
            EXPECT_EQ(table[number], text) << number;
        }
    }
}

TEST_F(Descriptions, AreReadAsUtf8OrWindows1252AndWrittenBackSo) {
    // What, the file as found on disk, description 1 in memory (UTF-8), the edit made to
    // description 2, and description 2 as written back.
    const std::tuple<std::string, std::string, std::string, std::string, std::string> cases[] = {
        {"utf-8", "1:caf\xC3\xA9\n", "caf\xC3\xA9\n", "\xE2\x82\xAC", "$0002:\xE2\x82\xAC\n"},
        {"windows", "1:caf\xE9 \x80\n", "caf\xC3\xA9 \xE2\x82\xAC\n", "na\xC3\xAFve",
         "$0002:na\xEFve\n"},
        {"windows gets a character it lacks", "1:\xE9\n", "\xC3\xA9\n", "\xCE\xA9",
         "$0002:\xCE\xA9\n"},
        {"bom",
         "\xEF\xBB\xBF"
         "1:x\n",
         "x\n", "y", "$0002:y\n"},
        {"unassigned windows byte", "1:\x81\n", "\xC2\x81\n", "z", "$0002:z\n"},
        // The file's own line ends stay, on every system: "\n" above, "\r\n" here.
        {"windows line ends", "1:x\r\n", "x\n", "y", "\r\n$0002:y\r\n"},
        // Windows bytes that would read as UTF-8 once the comment holding 0xFF is gone.
        {"windows that looks like utf-8", "'\xFF\n1:\xC3\xA9\n", "\xC3\x83\xC2\xA9\n", "z",
         "$0001:\xC3\x83\xC2\xA9\n$0002:z\n"},
    };
    for (const auto& [name, file, shown, typed, writtenLine] : cases) {
        SCOPED_TRACE(name);
        Write("event.quest.txt", file);
        source = LoadDescriptions(table, "quest", programDir, prompter);
        EXPECT_EQ(table[1], shown);
        table[2] = typed;
        ASSERT_TRUE(SaveDescriptions(table, "quest", source, prompter));
        const std::string written = ReadText("event.quest.txt");
        EXPECT_THAT(written, HasSubstr(writtenLine));
        // Description 1 comes back byte for byte in whatever encoding the file now has.
        DescriptionTable back;
        LoadDescriptions(back, "quest", programDir, prompter);
        EXPECT_EQ(back[1], shown);
        EXPECT_EQ(written.rfind("\xEF\xBB\xBF", 0) == 0, name == "bom");
    }
    EXPECT_THAT(prompter.messages, IsEmpty());
}

TEST_F(Descriptions, AReadOnlyFileOrAVanishedFolderKeepsTableAndFile) {
    Write("event.quest.txt", "1:old\n");
    ASSERT_TRUE(MakeReadOnly("event.quest.txt", std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::group_read));
    table[1] = "edited\n";
    EXPECT_FALSE(SaveDescriptions(table, "quest", source, prompter));
    EXPECT_EQ(ReadText("event.quest.txt"), "1:old\n");
    EXPECT_EQ(table[1], "edited\n");  // nothing was written, so nothing was taken out
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_THAT(prompter.messages[0], StartsWith(std::string(kCannotCreate) + "\n\n"));
    EXPECT_THAT(prompter.messages[0], EndsWith("event.quest.txt: " + ReadOnlyReason("0440")));

    if (Can(kNoRemovingCurrentFolder, "a save into a folder that was removed")) {
        std::filesystem::create_directory("gone");
        std::filesystem::current_path("gone");
        std::filesystem::remove(dir / "gone");
        EXPECT_FALSE(SaveDescriptions(table, "quest", source, prompter));
        EXPECT_EQ(table[1], "edited\n");
        EXPECT_THAT(prompter.messages,
                    ElementsAre(StartsWith(std::string(kCannotCreate) + "\n\n"),
                                StartsWith(std::string(kCannotCreate) + "\n\nevent.quest.txt: ")));
    }

    // A temporary file beside it that cannot be made for a reason other than permission (its
    // name too long here): the save fails with that reason, never rewriting in place.
    std::filesystem::current_path(dir.Path());
    prompter.messages.clear();
    const std::string base(240, 'q');
    Write(DescriptionFileName(base), "1:old\n");
    EXPECT_FALSE(SaveDescriptions(table, base, source, prompter));
    EXPECT_THAT(prompter.messages, ElementsAre(EndsWith(": File name too long")));
    EXPECT_EQ(ReadText(DescriptionFileName(base)), "1:old\n");
}

TEST_F(Descriptions, AUserWhoMayWriteTheFileButNotItsFolderStillSaves) {
    if (kNoModeBits) {
        GTEST_SKIP() << kNoModeBits;
    }
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root writes into any folder; CTest runs this as nobody too";
    }
    Write("event.quest.txt", "1:old\n");
    std::filesystem::permissions("event.quest.txt", std::filesystem::perms(0620));
    std::filesystem::permissions(dir.Path(), std::filesystem::perms(0500));
    table[1] = "rewritten in place";
    const bool saved = SaveDescriptions(table, "quest", source, prompter);
    EXPECT_TRUE(saved);
    EXPECT_THAT(prompter.messages, IsEmpty());
    const std::string written = ReadText("event.quest.txt");
    EXPECT_THAT(written, HasSubstr("\n$0001:rewritten in place\n"));
    EXPECT_EQ(std::filesystem::status("event.quest.txt").permissions(),
              std::filesystem::perms(0620));

    // The rewrite in place fails (a file-size limit stands in for a full disk): the file keeps
    // its old content, and the message gives the reason.
    table.fill(std::string(100, 'd'));
    bool savedBig = false;
    {
        const FileSizeLimit limit(20000);
        savedBig = SaveDescriptions(table, "quest", source, prompter);
    }
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    EXPECT_FALSE(savedBig);
    EXPECT_THAT(prompter.messages, ElementsAre(EndsWith("event.quest.txt: File too large")));
    EXPECT_EQ(ReadText("event.quest.txt"), written);
}

}  // namespace
}  // namespace sw::test
