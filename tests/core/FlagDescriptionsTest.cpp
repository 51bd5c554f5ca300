// Flag numbers as text, and the description files in the working directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "FlagDescriptions.h"
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
    for (const auto& [number, text] : {std::pair{1, "$0001"},
                                       {15, "$000F"},
                                       {16, "$0010"},
                                       {255, "$00FF"},
                                       {256, "$0100"},
                                       {1024, "$0400"}}) {
        EXPECT_EQ(FlagNumberText(number), text);
        EXPECT_EQ(ParseFlagNumber(text), number);
    }
    for (const auto& [text, number] : {std::pair{"10", 16},
                                       {"0x10", 16},
                                       {"0X10", 16},
                                       {" $10", 16},
                                       {"1$0", 16},
                                       {"10:x", 16},
                                       {"zz", 0},
                                       {"", 0},
                                       {"0x", 0},
                                       {"-1", -1},
                                       // Signs: one, before any "0x", read as a 32-bit value;
                                       // an overflow saturates whatever the sign.
                                       {"+10", 16},
                                       {" -$0x1F", -31},
                                       {"$-10", -16},
                                       {"-FFFFFFFF", 1},
                                       {"-FFFFFFFFF", -1},
                                       {"100000000", -1},
                                       {"+-1", 0},
                                       {"- 1", 0}}) {
        EXPECT_EQ(ParseFlagNumber(text), number) << text;
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
    RecordingPrompter prompter;
};

TEST_F(Descriptions, ReadNumbersInEveryFormWithTheLaterLineWinning) {
    const std::string longText(5000, 'w');  // far beyond any line buffer
    Write("event.quest.txt",
          "'$0001:a comment\n"
          "$0010:Gift box\n"
          "10:Gift box again\r\n"
          "0x11:Pier:cut at the colon\n"
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
    EXPECT_EQ(table[17], "Pier");
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
    table[5] = "a:b";
    table[6] = "Lamp\r\r\n";  // a return at the end would be read as part of the line end
    table[7] = "a\rb";
    table[16] = "Gift box\n";
    table[1024] = "Last\nline";
    ASSERT_TRUE(SaveDescriptions(table, "quest", prompter));
    EXPECT_THAT(prompter.messages, IsEmpty());
    const std::string text = ReadText(dir / "event.quest.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1026);
    EXPECT_THAT(text, StartsWith("'Statewright-generated event description listing\n'\n$0001:\n"));
    EXPECT_THAT(text, HasSubstr("\n$0005:a:b\n$0006:Lamp\n$0007:a\rb\n"));
    EXPECT_THAT(text, HasSubstr("\n$0010:Gift box\n$0011:\n"));
    EXPECT_THAT(text, EndsWith("\n$03FF:\n$0400:Lastline\n"));
    EXPECT_EQ(table[16], "Gift box");  // line feeds leave the table too
    EXPECT_EQ(table[6], "Lamp");
    EXPECT_FALSE(std::filesystem::exists(dir / "event.quest.txt.tmp"));

    DescriptionTable back;
    LoadDescriptions(back, "quest", programDir, prompter);
    EXPECT_EQ(back[0], "");
    EXPECT_EQ(back[5], "a");
    EXPECT_EQ(back[6], "Lamp\n");
    EXPECT_EQ(back[7], "a\rb\n");
    EXPECT_EQ(back[16], "Gift box\n");
    EXPECT_EQ(back[1024], "Lastline\n");
}

TEST_F(Descriptions, AFailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    Write("event.quest.txt", "1:old\n");
    std::filesystem::create_directory("event.quest.txt.tmp");  // the temporary cannot be made
    EXPECT_FALSE(SaveDescriptions(table, "quest", prompter));
    EXPECT_EQ(ReadText("event.quest.txt"), "1:old\n");

    std::filesystem::remove_all("event.quest.txt.tmp");
    std::filesystem::remove("event.quest.txt");
    std::filesystem::create_directory("event.quest.txt");  // the rename cannot replace it
    EXPECT_FALSE(SaveDescriptions(table, "quest", prompter));
    EXPECT_FALSE(std::filesystem::exists("event.quest.txt.tmp"));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_THAT(prompter.messages[1], StartsWith(std::string(kCannotCreate) + "\n\n" + dir.Path() +
                                                 "/event.quest.txt: "));
}

TEST_F(Descriptions, AReadOnlyFileOrAVanishedFolderKeepsTableAndFile) {
    Write("event.quest.txt", "1:old\n");
    std::filesystem::permissions(
        "event.quest.txt", std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    table[1] = "edited\n";
    EXPECT_FALSE(SaveDescriptions(table, "quest", prompter));
    EXPECT_EQ(ReadText("event.quest.txt"), "1:old\n");
    EXPECT_EQ(table[1], "edited\n");  // nothing was written, so nothing was taken out

    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(dir / "gone");
    EXPECT_FALSE(SaveDescriptions(table, "quest", prompter));
    EXPECT_EQ(table[1], "edited\n");
    EXPECT_THAT(prompter.messages,
                ElementsAre(StartsWith(std::string(kCannotCreate) + "\n\n"),
                            StartsWith(std::string(kCannotCreate) + "\n\nevent.quest.txt: ")));
    EXPECT_THAT(prompter.messages[0], EndsWith("event.quest.txt: Permission denied"));
}

}  // namespace
}  // namespace sw::test
