// statewright-cli end to end on the demo files: every edit is checked against the whole file,
// so that only the edited fields' bytes may differ and the length never changes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "Cli.h"
#include "ItemNames.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Json = nlohmann::json;

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        // Backups go to the test's own data folder, never into the user's; on Windows, where
        // no variable moves them, TearDown takes away those the test made.
        const char* dataHome = std::getenv("XDG_DATA_HOME");
        m_dataHome = dataHome != nullptr ? std::optional<std::string>(dataHome) : std::nullopt;
        SetEnv("XDG_DATA_HOME", dir / "data");
        ASSERT_EQ(Run({"demo", dir.Path()}), 0);
        original = ReadBytes(state);
    }
    void TearDown() override {
        m_dataHome ? SetEnv("XDG_DATA_HOME", *m_dataHome) : UnsetEnv("XDG_DATA_HOME");
        if (kWindows) {
            ForgetBackups();
        }
    }
    // The backups of the test's own files, and those of the earlier naming that it put there,
    // out of a folder that it shares with the user and with the other tests.
    void ForgetBackups() const {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (auto entry = fs::directory_iterator(PathOf(backups), ec);
             !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
            std::error_code ignored;
            const bool ours =
                entry->is_directory(ignored)
                    ? Folded(ReadText(Utf8(entry->path() / "owner"))).find(Folded(dir.Path())) !=
                          std::string::npos
                    : Utf8(entry->path().filename()).rfind("vellumgate.zs1.", 0) == 0;
            if (ours) {
                fs::remove_all(entry->path(), ignored);
            }
        }
    }
    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        std::vector<const char*> argv = {"statewright-cli"};
        for (const std::string& arg : args) {
            argv.push_back(arg.c_str());
        }
        return cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    }
    // Runs a shell command line; its exit code, and what it printed to standard output.
    static int Shell(const std::string& command, std::string* said = nullptr) {
        return RunShell(command, said);
    }
    std::vector<long> Changed(const Bytes& expected, const std::string& path = {}) const {
        return DiffOffsets(expected, ReadBytes(path.empty() ? state : path));
    }

    TempDir dir;
    std::string state = dir / "vellumgate.zs1";
    std::string rom = dir / "vellumgate.smc";
    Bytes original;
    std::ostringstream out, err;
    std::string backups = BackupsFolderFor(dir / "data");
    // The program itself, as the shell starts it.
    const std::string cli = Quoted(HostPath(STATEWRIGHT_CLI));

private:
    std::optional<std::string> m_dataHome;
};

TEST_F(Cli, DemoHelpAndVersion) {
    EXPECT_EQ(original.size(), 275291u);
    EXPECT_EQ(ReadBytes(rom).size(), 3146240u);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("rename-item"));
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("statewright-cli"));
}

// show --json on the files: the paths, every key with its value, and the set flags with their
// descriptions (event.txt beside the program). The bytes each field is read from are the core's
// StateDiff table.
TEST_F(Cli, ShowJsonNamesEveryFieldWithItsValue) {
    ASSERT_EQ(Run({"show", "--json", state}), 0) << err.str();
    Json shown = Json::parse(out.str());
    EXPECT_EQ(shown.at("members").size(), 4u);
    EXPECT_EQ(shown.at("members").at(1), Json::parse(R"({"slot": 1, "name": "Odile", "level": 21,
        "experience": 27780, "hp": 121, "hpMax": 139, "pp": 96, "ppMax": 112, "offense": 35,
        "defense": 44, "speed": 30, "guts": 13, "luck": 12, "vitality": 18, "iq": 37,
        "goods": [32, 62, 69, 79, 3, 148, 148, 115, 129, 169, 0, 0, 0, 0]})"));
    const Json flags = shown.at("flags");
    EXPECT_EQ(flags.size(), 40u);
    EXPECT_EQ(flags.at(0), Json::parse(R"({"number": "$0001",
        "description": "Started as an apprentice at the Bindery on Spine Row"})"));
    EXPECT_EQ(flags.back().at("number"), "$0400");
    EXPECT_EQ(shown.at("file"), state);
    EXPECT_EQ(shown.at("rom"), rom);
    for (const char* key : {"members", "flags", "file", "rom"}) {
        shown.erase(key);
    }
    EXPECT_EQ(shown, Json::parse(R"({"money": 4812, "bank": 23370, "playerName": "Marlowe",
        "dogName": "Pip", "favoriteFood": "Scones", "psiSpecial": "Inkstorm",
        "format": "ZSNES 1.43"})"));
}

TEST_F(Cli, SetAppliesThePagesLimitsAndTouchesOnlyTheEditedBytes) {
    ASSERT_EQ(Run({"set", state, "member0.level=300", "member1.level=-1", "member2.level=abc",
                   "member0.experience=20000000", "member0.hp=40000", "member3.hpMax=32768",
                   "member1.pp=-2", "member3.luck=256", "money=20000000", "bank=-1",
                   "member0.name=Zandorovik", "member1.name=Al", "playerName=Al",
                   "dogName=R\xC3\x90"
                   "fusbark",
                   "favoriteFood=\U0001F642T\u00E9", "member2.goods=0x15,21,0XfF"}),
              0)
        << err.str();
    Bytes expected = original;
    Patch(expected, 42465, {0x8A, 0x91, 0x9E, 0x94, 0x9F, 0xFF, 0xFF, 0xFF, 0xFF});  // Zando
    Patch(expected, 42465 + 71, {0x00, 0x80});
    Patch(expected, 42560, {0x71, 0x9C, 0x00});  // "Al": the rest of "Odile" stays behind
    Patch(expected, 42560 + 5, {0xFF});
    Patch(expected, 42560 + 77, {0xFE, 0xFF});
    Patch(expected, 42655 + 5, {0x00});
    Patch(expected, 42655 + 35, {0x15, 0x15, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Patch(expected, 42750 + 10, {0x00, 0x80});
    Patch(expected, 42750 + 25, {0xFF});
    Patch(expected, 42052, {0x00, 0x2D, 0x31, 0x00, 0xFF, 0xFF, 0xFF});  // cash 3,222,784
    Patch(expected, 42004, {0x71, 0x9C, 0x00});                          // "Al" over "Marlowe"
    Patch(expected, 42028, {0x82, 0x6F, 0x96, 0xA5, 0xA3, 0x92});  // "R?fusb": 0xD0 has no byte
    Patch(expected, 42034, {0x6F, 0x84, 0x19, 0x00});  // UTF-8 in: "?" for the 4-byte face
    EXPECT_THAT(Changed(expected), IsEmpty());
}

TEST_F(Cli, AnyBadArgumentRefusesTheWholeCommand) {
    for (const char* bad :
         {"member4.level=1", "level=3", "member0.level", "member0.mana=3", "member0.=1",
          "memberX.level=2", "member0.goods=1,,2", "member0.goods=256",
          "member0.goods=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15"}) {
        EXPECT_EQ(Run({"set", state, "member0.level=5", bad}), 1) << bad;
    }
    for (const char* bad : {"0", "1025", "zz"}) {
        EXPECT_EQ(Run({"flag", state, "on", "$0002", bad}), 1) << bad;
    }
    EXPECT_EQ(Run({"flag", state, "flip", "$0002"}), 1);
    EXPECT_EQ(Run({"set", state, "--nonsense", "money=1"}), 1);
    EXPECT_EQ(Run({"frobnicate"}), 1);
    EXPECT_EQ(Run({}), 1);
    EXPECT_THAT(Changed(original), IsEmpty());
}

TEST_F(Cli, FlagTakesEveryNumberForm) {
    Bytes expected = original;
    ASSERT_EQ(expected[43036] & 0x80, 0x80);  // flag $0010 (index 15) is set in the demo
    for (const auto& [action, number] :
         {std::pair{"off", "$0010"}, {"on", "10"}, {"toggle", "0x10"}}) {
        expected[43036] ^= 0x80;
        EXPECT_EQ(Run({"flag", state, action, number}), 0);
        EXPECT_THAT(Changed(expected), IsEmpty()) << number;
    }
    expected[43035] ^= 0x01;
    expected[43162] ^= 0x80;
    EXPECT_EQ(Run({"flag", state, "toggle", "$0001", "$0400"}), 0);
    EXPECT_THAT(Changed(expected), IsEmpty());
}

// diff on two files: B's own descriptions, the exit codes, --raw, and the JSON's types (numbers,
// texts, lists of item codes). Which edit shows as which difference is the core's table.
TEST_F(Cli, DiffComparesTwoFilesAndExitsLikeDiff) {
    const std::string b = dir / "b/vellumgate.zs1";
    std::filesystem::create_directories(dir / "b");
    std::ofstream(dir / "b/event.vellumgate.txt") << "$0005:Heard the bell\n$0010:Wren joined\n";
    Bytes edited = original;
    edited[5000] ^= 1;  // outside the fields: the editable data are the same
    WriteBytes(b, edited);
    EXPECT_EQ(Run({"diff", state, b}), 0);
    EXPECT_EQ(out.str(), "The editable data are the same.\n");
    EXPECT_EQ(Run({"diff", state, b, "--raw"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("(1 in 1 range):\n  0x01388-0x01388  1 byte\n"));

    Patch(edited, 42028, {0x82, 0x00});                                     // the dog "R"
    Patch(edited, 42750 + 35, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // member 3's goods
    Patch(edited, 42052, {0x09, 0x03, 0x00});                               // cash 777
    edited[43035] |= 0x10;                                                  // flag $0005 on
    WriteBytes(b, edited);
    EXPECT_EQ(Run({"diff", state, b}), 1);
    EXPECT_THAT(out.str(), HasSubstr("\n  money             4812 -> 777\n"));
    EXPECT_THAT(out.str(), HasSubstr("\n  $0005  on   Heard the bell\n"));
    ASSERT_EQ(Run({"diff", state, b, "--json", "--raw"}), 1);
    const Json json = Json::parse(out.str());
    EXPECT_EQ(json.at("same"), false);
    EXPECT_EQ(json.at("fields"), Json::parse(R"([{"field": "member3.goods", "a": [51, 63, 73, 87,
        185, 100, 100, 140, 238, 214], "b": [1]}, {"field": "money", "a": 4812, "b": 777},
        {"field": "dogName", "a": "Pip", "b": "R"}])"));
    EXPECT_EQ(json.at("flags"), Json::parse(R"([{"number": "$0005", "a": false, "b": true,
        "description": "Heard the bell"}])"));
    EXPECT_EQ(json.at("raw"), Json::parse(R"([{"offset": 5000, "length": 1}])"));
    EXPECT_EQ(Run({"diff", state, state, "--json"}), 0);
    EXPECT_EQ(Json::parse(out.str()).contains("raw"), false);

    for (const Bytes& bad :
         {Bytes(original.begin(), original.begin() + 43162), Bytes(original.size(), 'z')}) {
        WriteBytes(b, bad);
        EXPECT_EQ(Run({"diff", state, b}), 2);
    }
    EXPECT_EQ(Run({"diff", state, dir / "missing.zs1"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("missing.zs1: No such file or directory"));
}

// show --json of A piped into apply B - makes B's editable data A's, and nothing else of B's;
// the document matches the schema in docs/.
TEST_F(Cli, ShowJsonRoundTripsThroughApplyAndFollowsTheSchema) {
    const std::string b = dir / "b.zs1";
    Bytes other = original;
    Patch(other, 42465, {0x82, 0xA5, 0x00});  // a name, a level, goods, money, a text, flags
    other[42560 + 5] = 3;
    Patch(other, 42655 + 35, {0x07, 0x00, 0x00});
    Patch(other, 42052, {0x01, 0x00, 0x00});
    Patch(other, 42040, {0x71, 0x00});
    other[43035] = 0x00, other[43100] = 0xFF;
    other[5000] ^= 0xFF;  // outside the fields: stays B's
    WriteBytes(b, other);
    ASSERT_EQ(Run({"diff", state, b}), 1);
    const std::string show = cli + " show --json " + Quoted(state) + " | ";
    ASSERT_EQ(Shell(show + cli + " apply " + Quoted(b) + " - --no-backup"), 0);
    EXPECT_EQ(Run({"diff", state, b}), 0) << out.str();
    EXPECT_EQ(DiffOffsets(original, ReadBytes(b)), std::vector<long>{5000})
        << "the bytes outside the fields stay B's";

    if (Can(kNoPython, "show --json against the schema")) {
        EXPECT_EQ(
            Shell(show + "python3 -c 'import json, sys, jsonschema; "
                         "schema = json.load(open(sys.argv[1])); "
                         "jsonschema.Draft202012Validator.check_schema(schema); "
                         "jsonschema.Draft202012Validator(schema).validate(json.load(sys.stdin))' "
                         "'" STATEWRIGHT_SCHEMA "'"),
            0);
    }
}

// A wrong document is refused whole, each error on a line of its own (the core's table has every
// kind of error), and the state keeps every byte.
TEST_F(Cli, ApplyRefusesAWrongDocumentAndChangesNothing) {
    const std::string file = dir / "edit.json";
    std::ofstream(file) << R"({"money": 5, "members": [{"leval": 3}, {"slot": 7}]})";
    EXPECT_EQ(Run({"apply", state, file}), 1);
    EXPECT_EQ(err.str(), "Nothing was changed: " + file +
                             " is not a document `apply` takes.\n  $.members[0].leval: no such "
                             "field\n  $.members[1].slot: slots run from 0 to 3\n");
    EXPECT_THAT(Changed(original), IsEmpty());
    EXPECT_EQ(Run({"apply", state, dir / "missing.json"}), 2);

    // Too large: one limit and one reason, whether the document is a file or standard input.
    const std::string huge = dir / "huge.json";
    std::ofstream(huge) << "{}";
    std::filesystem::resize_file(huge, (64u << 20) + 1);
    const std::string tooLarge = ": it is larger than 64 MiB, the most this program reads\n";
    EXPECT_EQ(Run({"apply", state, huge}), 2);
    EXPECT_EQ(err.str(), "Cannot read the JSON document " + huge + tooLarge);
    std::string said;
    EXPECT_EQ(Shell(cli + " apply " + Quoted(state) + " - <" + Quoted(huge) + " 2>&1", &said), 2);
    EXPECT_EQ(said, "Cannot read the JSON document standard input" + tooLarge);
    EXPECT_THAT(Changed(original), IsEmpty());
}

// A state that is no state is the fault matrix's.
TEST_F(Cli, AForeignRomIsRefusedUnlessForced) {
    const Bytes game = ReadBytes(rom);
    Bytes foreign = game;
    std::memcpy(&foreign[65984], "STRANGELAND", 11);
    WriteBytes(rom, foreign);
    EXPECT_EQ(Run({"set", state, "member0.level=9"}), 3);
    EXPECT_THAT(err.str(), HasSubstr("WARNING: Associated ROM not valid"));
    EXPECT_THAT(Changed(original), IsEmpty());
    EXPECT_EQ(Run({"set", state, "member0.level=9", "--force"}), 0);
    Bytes expected = original;
    expected[42470] = 9;
    EXPECT_THAT(Changed(expected), IsEmpty());

    // --rom names the game's ROM kept elsewhere, here without copier header: no question about
    // the foreign one beside; one that cannot be read is an error, not "no ROM".
    const std::string kept = dir / "roms/Vellum Gate.sfc";
    std::filesystem::create_directories(dir / "roms");
    WriteBytes(kept, Bytes(game.begin() + 512, game.end()));
    EXPECT_EQ(Run({"show", "--json", "--rom", kept, state}), 0) << err.str();
    EXPECT_EQ(Json::parse(out.str()).at("rom"), kept);
    EXPECT_EQ(Run({"set", "--rom", kept, state, "member0.level=10"}), 0) << err.str();
    expected[42470] = 10;
    EXPECT_THAT(Changed(expected), IsEmpty());
    EXPECT_EQ(Run({"set", "--rom", dir / "roms/none.sfc", state, "member0.level=11"}), 2);
    EXPECT_EQ(err.str(),
              "Cannot read the ROM " + dir / "roms/none.sfc" + ": No such file or directory\n");
    EXPECT_THAT(Changed(expected), IsEmpty());
}

TEST_F(Cli, ConfigExportAndImportRoundTrip) {
    const std::string config = dir / "party.swr";
    ASSERT_EQ(Run({"export-config", state, config}), 0);
    EXPECT_EQ(ReadBytes(config).size(), 2259u);
    ASSERT_EQ(Run({"set", state, "member2.level=1", "money=5", "psiSpecial=Fog", "member3.goods="}),
              0);
    ASSERT_EQ(Run({"flag", state, "toggle", "$0100"}), 0);
    ASSERT_EQ(Run({"import-config", config, state}), 0) << err.str();
    EXPECT_THAT(Changed(original), IsEmpty());
}

TEST_F(Cli, RenameItemWritesOnlyItsRecord) {
    ASSERT_EQ(Run({"items", rom}), 0);
    const std::string listing = out.str();
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 256);
    EXPECT_THAT(listing, HasSubstr("\n0x61  " + DefaultItemNames()[0x61] + " [97]\n"));

    const Bytes expected = WithItemName(ReadBytes(rom), 97, "Glass Lantern");
    ASSERT_EQ(Run({"rename-item", rom, "0x61", "Glass Lantern"}), 0) << err.str();
    EXPECT_EQ(out.str(), "Glass Lantern [97]\n");
    EXPECT_THAT(Changed(expected, rom), IsEmpty());
    EXPECT_EQ(Run({"rename-item", rom, "256", "x"}), 1);
    ASSERT_EQ(Run({"items", rom}), 0);
    EXPECT_THAT(out.str(), HasSubstr("\n0x61  Glass Lantern [97]\n"));
}

// What a --help text lists under one of its headings ("Subcommands:", "Options:",
// "Positionals:"): the first word of each entry, "-h,--help" split into its names.
std::vector<std::string> HelpEntries(const std::string& help, const std::string& heading) {
    std::vector<std::string> names;
    std::istringstream lines(help);
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != ' ') {
            inside = line == heading;
        } else if (inside && line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ') {
            std::istringstream words(line.substr(2, line.find(' ', 2) - 2));
            for (std::string name; std::getline(words, name, ',');) {
                names.push_back(name);
            }
        }
    }
    return names;
}

// The man page's text without its comment lines and troff's escapes for hyphens and fonts.
std::string PlainManText(std::istream& in) {
    std::string page;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".\\\"", 0) != 0) {
            page += line + '\n';
        }
    }
    return std::regex_replace(page, std::regex(R"(\\f[BIRP]|\\&|"|\\(?=-))"), "");
}

// True when `word` stands in `text` on its own: not inside a longer option or name.
bool Mentions(const std::string& text, const std::string& word) {
    const auto part = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
    };
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !part(text[at - 1])) && (end == text.size() || !part(text[end]))) {
            return true;
        }
    }
    return false;
}

// Every subcommand, option and argument that --help lists is in statewright-cli(6): each
// subcommand has a ".SS" section starting with its name that names its options and arguments.
TEST_F(Cli, ManPageNamesEverySubcommandOptionAndArgumentOfHelp) {
    std::ifstream in(PathOf(HostPath(STATEWRIGHT_CLI_MAN_PAGE)));
    ASSERT_TRUE(in) << STATEWRIGHT_CLI_MAN_PAGE;
    const std::string page = PlainManText(in);
    ASSERT_EQ(Run({"--help"}), 0);
    const std::string help = out.str();
    for (const std::string& option : HelpEntries(help, "Options:")) {
        if (!Mentions(page, option)) {
            ADD_FAILURE() << "statewright-cli.6 does not mention the option " << option
                          << " that statewright-cli --help lists";
        }
    }
    const std::vector<std::string> subcommands = HelpEntries(help, "Subcommands:");
    EXPECT_GE(subcommands.size(), 8u);
    for (const std::string& sub : subcommands) {
        std::size_t start = page.find("\n.SS " + sub + " ");
        start = start != std::string::npos ? start : page.find("\n.SS " + sub + "\n");
        if (start == std::string::npos) {
            ADD_FAILURE() << "statewright-cli.6 has no section \".SS " << sub
                          << " ...\" for the subcommand " << sub
                          << " that statewright-cli --help lists";
            continue;
        }
        const std::string section =
            page.substr(start, page.find("\n.S", start + 1) - start);  // to .SS or .SH
        ASSERT_EQ(Run({sub, "--help"}), 0) << sub;
        std::vector<std::string> named = HelpEntries(out.str(), "Options:");
        const std::vector<std::string> positionals = HelpEntries(out.str(), "Positionals:");
        named.insert(named.end(), positionals.begin(), positionals.end());
        for (const std::string& name : named) {
            // Every command has -h, --help: the page says so once.
            if (name != "-h" && name != "--help" && !Mentions(section, name)) {
                ADD_FAILURE() << "statewright-cli.6 does not mention " << name
                              << " in the section of " << sub << ", though statewright-cli " << sub
                              << " --help lists it";
            }
        }
    }
}

// The program as a shell starts it: its exit codes, and the names it is given as they were
// typed (on Windows from the wide command line), whatever the letters and however long.
TEST_F(Cli, TheProgramExitsWithItsCodes) {
    const auto exitCode = [&](const std::string& args) {
        return Shell(cli + " " + args + " >" + kNullDevice + " 2>&1");
    };
    const std::string deep = dir / (std::string(90, 'd') + "/" + std::string(90, 'e') + "/" +
                                    std::string(60, 'f') + "/vellumgate.zs1");
    for (const std::string& path :
         {state, dir / "Spielst\xC3\xA4nde/S\xC3\xA4ve-\xC3\xBC.zs1", deep}) {
        SCOPED_TRACE(path);
        if (path != state) {
            std::filesystem::create_directories(PathOf(path).parent_path());
            WriteBytes(path, original);
            WriteBytes(path.substr(0, path.rfind('.')) + ".smc", ReadBytes(rom));
        }
        EXPECT_EQ(exitCode("set " + Quoted(path) + " member0.level=7"), 0);
        EXPECT_EQ(exitCode("flag " + Quoted(path) + " on zz"), 1);
        Bytes expected = original;
        expected[42470] = 7;
        EXPECT_THAT(Changed(expected, path), IsEmpty());
        // Its backup, in a folder named by the file's name.
        std::string said;
        EXPECT_EQ(Shell(cli + " backups " + Quoted(path), &said), 0);
        const std::string name = Utf8(PathOf(path).filename());
        // (On Windows without case: two spellings of a name share one folder.)
        EXPECT_THAT(Folded(said), HasSubstr(Folded(" 275291 bytes  " + backups + name + "-")))
            << said;
    }
    EXPECT_EQ(exitCode("show " + Quoted(dir / "missing.zs1")), 2);
}

TEST_F(Cli, EveryWriteIsBackedUpFirstAndCanBeRestored) {
    namespace fs = std::filesystem;
    // The first write of a command copies the file whole; ten are kept per file.
    for (int i = 1; i <= 11; ++i) {
        ASSERT_EQ(Run({"set", state, "money=" + std::to_string(i)}), 0) << err.str();
    }
    const auto listed = [&](const std::string& file) {  // the paths `backups` lists, in order
        EXPECT_EQ(Run({"backups", file}), 0);
        std::vector<std::string> paths;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line) && !line.empty();) {
            if (line.find(" bytes  ") != std::string::npos) {
                paths.push_back(line.substr(line.find(" bytes  ") + 8));
            }
        }
        return paths;
    };
    const auto minuteText = [](std::time_t time) {
        const std::tm utc = *std::gmtime(&time);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:", &utc);
        return std::string(text);
    };
    const std::time_t listedAt = std::time(nullptr);
    std::vector<std::string> kept = listed(state);
    ASSERT_EQ(kept.size(), 10u);
    // Each line starts with the time the backup was made, in UTC: a moment ago.
    const std::string newest = out.str().substr(0, 17);
    EXPECT_THAT(newest, testing::AnyOf(minuteText(listedAt), minuteText(listedAt - 60)))
        << out.str();
    EXPECT_THAT(Generic(out.str()),
                HasSubstr(" UTC  275291 bytes  " + backups + "vellumgate.zs1-"));
    const auto moneyOf = [](const Bytes& bytes) { return bytes[42052]; };
    EXPECT_EQ(moneyOf(ReadBytes(kept[0])), 10);  // as it was before the last write
    EXPECT_EQ(moneyOf(ReadBytes(kept[9])), 1);

    // Restore puts the newest back, into the same file (a hard link sees it), after a backup
    // of the file as it is now.
    fs::create_hard_link(state, dir / "hard.zs1");
    ASSERT_EQ(Run({"restore", state}), 0) << err.str();
    EXPECT_EQ(moneyOf(ReadBytes(dir / "hard.zs1")), 10);
    EXPECT_EQ(moneyOf(ReadBytes(listed(state)[0])), 11);
    // A backup named as `backups` lists it; --no-backup writes without one.
    ASSERT_EQ(Run({"restore", state, Utf8(fs::path(kept[9]).filename()), "--no-backup"}), 0)
        << err.str();
    EXPECT_EQ(moneyOf(ReadBytes(state)), 1);
    kept = listed(state);
    ASSERT_EQ(Run({"set", state, "money=99", "--no-backup"}), 0);
    EXPECT_EQ(listed(state), kept);
    // Restoring the oldest again and again keeps it and retires the oldest of the others: ten
    // and the one restored from, never more.
    ASSERT_EQ(kept.size(), 11u);
    const std::string oldest = Utf8(fs::path(kept.back()).filename());
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Run({"restore", state, oldest}), 0) << err.str();
    }
    kept = listed(state);
    EXPECT_EQ(kept.size(), 11u);
    EXPECT_EQ(Utf8(fs::path(kept.back()).filename()), oldest);

    // Same-named states of two folders have their own backups, listed and restored apart.
    ASSERT_EQ(Run({"demo", dir / "b"}), 0);
    const std::string b = dir / "b/vellumgate.zs1";
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(Run({"set", b, "bank=" + std::to_string(i)}), 0);
    }
    EXPECT_EQ(listed(state), kept);
    EXPECT_EQ(listed(b).size(), 10u);
    ASSERT_EQ(Run({"restore", state}), 0);
    EXPECT_EQ(moneyOf(ReadBytes(state)), moneyOf(ReadBytes(kept[0])));
    if (kWindows) {
        // Another case and the other separator name the same file on Windows, with the same
        // backups: made, listed and restored under either spelling.
        std::string upper = state;
        std::replace(upper.begin(), upper.end(), '/', '\\');
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return static_cast<char>(std::toupper(c)); });
        const std::string lower = Folded(state);
        const std::uint8_t before = moneyOf(ReadBytes(state));
        const std::vector<std::string> own = listed(state);
        ASSERT_EQ(Run({"set", upper, "money=42"}), 0) << err.str();
        const std::vector<std::string> shared = listed(lower);
        EXPECT_EQ(shared, listed(state));
        ASSERT_FALSE(shared.empty());
        EXPECT_NE(shared.front(), own.front()) << "no new backup among the file's own";
        EXPECT_EQ(moneyOf(ReadBytes(shared.front())), before);
        ASSERT_EQ(Run({"restore", lower}), 0) << err.str();
        EXPECT_EQ(moneyOf(ReadBytes(state)), before);
    }

    // Order is the order made, whatever the clock says: ten backups stamped in the future.
    const std::string own = fs::path(kept[0]).parent_path().string() + "/";
    for (const std::string& path : listed(state)) {
        fs::remove(path);
    }
    for (int i = 1; i <= 10; ++i) {
        const std::string made = own + "0000" + std::to_string(i - 1) + "9.bak";
        WriteBytes(made, original);
        fs::last_write_time(made, fs::file_time_type::clock::now() + std::chrono::hours(24 * 365));
    }
    ASSERT_EQ(Run({"set", state, "money=7"}), 0);
    kept = listed(state);
    ASSERT_EQ(kept.size(), 10u);
    EXPECT_THAT(Generic(kept[0]), HasSubstr("/000100.bak"));  // the one just made, the newest
    EXPECT_FALSE(fs::exists(own + "000009.bak"));

    // Two programs saving same-named states at once each keep their backup.
    for (const std::string& path : kept) {
        fs::remove(path);
    }
    for (const std::string& path : listed(b)) {
        fs::remove(path);
    }
    for (int i = 1; i <= 5; ++i) {
        int otherCode = -1;
        std::thread other(
            [&] { otherCode = Shell(cli + " set " + Quoted(b) + " bank=" + std::to_string(i)); });
        EXPECT_EQ(Shell(cli + " set " + Quoted(state) + " money=" + std::to_string(i)), 0);
        other.join();
        EXPECT_EQ(otherCode, 0);
    }
    EXPECT_EQ(listed(state).size(), 5u);
    EXPECT_EQ(listed(b).size(), 5u);

    // A backup that is no backup of this file's kind is refused, and nothing changes.
    const Bytes current = ReadBytes(state);
    kept = listed(state);
    Bytes random(300000);
    for (std::size_t i = 0; i < random.size(); ++i) {
        random[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
    }
    const std::string fake = own + "999998.bak";
    const std::pair<std::function<void()>, const char*> refusals[] = {
        {[&] { WriteBytes(fake, Bytes(original.begin(), original.begin() + 1000)); }, "too short"},
        {[&] { WriteBytes(fake, random); }, "neither a save state nor the game's ROM"},
        {[&] { fs::create_symlink("/etc/passwd", fake); }, "it is a link"},
        {[&] { WriteBytes(fake, ReadBytes(rom)); }, "it is a backup of a game ROM"},
        {[&] { WriteBytes(dir / "loose.bak", original); }, "not one of the backups of"},
    };
    for (const auto& [make, reason] : refusals) {
        if (std::string(reason) == "it is a link" && !Can(kNoLinks, "a link among the backups")) {
            continue;
        }
        SCOPED_TRACE(reason);
        fs::remove(fake);
        make();
        const std::string named = fs::exists(dir / "loose.bak") ? dir / "loose.bak" : fake;
        EXPECT_EQ(Run({"restore", state, named}), 2);
        EXPECT_THAT(err.str(), HasSubstr(reason));
        EXPECT_EQ(ReadBytes(state), current);
    }
    fs::remove(fake);
    EXPECT_EQ(listed(state), kept);
    // A restore that fails on the file's mode leaves every backup, the oldest too.
    ASSERT_TRUE(MakeReadOnly(state, fs::perms(0444)));
    EXPECT_EQ(Run({"restore", state, kept.back()}), 2);
    EXPECT_THAT(err.str(), HasSubstr(ReadOnlyReason("0444")));
    EXPECT_EQ(listed(state), kept);
    fs::permissions(state, fs::perms(0644));

    // Backups of the earlier naming are listed apart and restored only when named.
    WriteBytes(backups + "vellumgate.zs1.20260101T000000.000Z.bak", original);
    // Names that only look like one are no backup: a letter in the date, the time or the
    // milliseconds.
    const char* const decoys[] = {"2026O101T000000.000Z", "20260101T0000O0.000Z",
                                  "20260101T000000.0O0Z"};
    for (const char* decoy : decoys) {
        WriteBytes(backups + "vellumgate.zs1." + decoy + ".bak", original);
    }
    listed(state);
    EXPECT_THAT(out.str(), HasSubstr("in a folder no longer known"));
    EXPECT_THAT(out.str(), HasSubstr("2026-01-01 00:00:00 UTC"));
    for (const char* decoy : decoys) {
        EXPECT_THAT(out.str(), testing::Not(HasSubstr(decoy)));
    }
    ASSERT_EQ(Run({"restore", state, "vellumgate.zs1.20260101T000000.000Z.bak"}), 0) << err.str();
    EXPECT_EQ(ReadBytes(state), original);

    // A ROM's backup is put back only when it holds the whole item table, which ends at
    // 1397248 + 39 * 256 in a ROM with a copier header (here the ROM is as short as it).
    ASSERT_EQ(Run({"rename-item", rom, "5", "Quillblade"}), 0) << err.str();
    const std::vector<std::string> romKept = listed(rom);
    ASSERT_EQ(romKept.size(), 1u);
    const std::string romFake = Utf8(fs::path(romKept[0]).parent_path() / "999997.bak");
    const Bytes romWhole = ReadBytes(rom);
    for (const long end : {1397248L + 39 * 256 - 1, 1397248L + 39 * 256}) {
        SCOPED_TRACE(end);
        const Bytes cut(romWhole.begin(), romWhole.begin() + end);
        Bytes backup = cut;
        backup.back() ^= 0xFF;
        WriteBytes(rom, cut);
        WriteBytes(romFake, backup);
        const bool whole = end == 1397248L + 39 * 256;
        EXPECT_EQ(Run({"restore", rom, romFake, "--no-backup"}), whole ? 0 : 2) << err.str();
        EXPECT_EQ(ReadBytes(rom), whole ? backup : cut);
        if (!whole) {
            EXPECT_THAT(err.str(), HasSubstr("a game ROM cut short"));
        }
    }

    // Names are shown on one line, whatever they hold.
    if (!Can(kNoLineBreakNames, "a state named with a line break")) {
        return;
    }
    const std::string odd = dir / "two\nlines.zs1";
    fs::copy_file(state, odd);
    ASSERT_EQ(Run({"set", odd, "money=3"}), 0) << err.str();
    listed(odd);
    const std::string shown = out.str();
    EXPECT_THAT(shown, HasSubstr("two\\nlines.zs1-"));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1);
}

// No backup, no write: each way the backup cannot be made is refused with its reason, and
// neither the state nor the ROM changes. Run as the program, with the environment of the row.
TEST_F(Cli, NoBackupMeansNoWriteAndSaysWhy) {
    namespace fs = std::filesystem;
    const std::string data = dir / "data";
    const std::string home = "env -u XDG_DATA_HOME HOME='" + dir / "home" + "' ";
    const std::string longName = dir / (std::string(236, 'n') + ".zs1");
    std::error_code ec;
    const fs::recursive_directory_iterator end;
    struct Row {
        const char* name;
        const char* lacking;  // why the row cannot exist on this system (nullptr: it can)
        std::function<void()> make;
        std::string command;         // before the program and its arguments
        const char* reason;          // empty: the write goes ahead
        std::string backupsIn = {};  // where the backup then is, when it goes ahead
    };
    const std::string homeBackups = dir / "home/.local/share/statewright/backups";
    const char* const variables = kNoHomeVariables;
    const std::vector<Row> rows = {
        {"no HOME, no XDG_DATA_HOME", variables, [] {}, "env -u XDG_DATA_HOME -u HOME ",
         "Set HOME"},
        {"empty HOME", variables, [] {}, "env -u XDG_DATA_HOME HOME= ", "Set HOME"},
        {"relative HOME", variables, [] {}, "env -u XDG_DATA_HOME HOME=home ", "Set HOME"},
        {"HOME only", variables, [] {}, home, "", homeBackups},
        {"a relative XDG_DATA_HOME is passed over for HOME", variables, [] {},
         "env XDG_DATA_HOME=data HOME='" + dir / "home" + "' ", "", homeBackups},
        {"a file stands there", kNoPlantedBackupsFolder, [&] { WriteBytes(data, {}); }, "",
         "it is a file, where a folder"},
        {"a FIFO stands there", kNoFifos, [&] { MakeFifo(data); }, "",
         "it is a named pipe (FIFO), where a folder"},
        {"a dangling link stands there", kNoLinks, [&] { fs::create_symlink(dir / "gone", data); },
         "", "it is a link to something that is not there"},
        {"a file-size limit", kNoFileSizeLimit, [] {}, "ulimit -f 100; ", "File too large"},
        {"a name too long for a backup name", nullptr,
         [&] {
             fs::copy_file(state, PathOf(longName)),
                 fs::copy_file(rom, PathOf(longName.substr(0, longName.size() - 3) + "smc"));
         },
         "", ""},
    };
    for (const Row& row : rows) {
        if (!Can(row.lacking, row.name)) {
            continue;
        }
        SCOPED_TRACE(row.name);
        fs::remove_all(data);
        fs::remove_all(dir / "home");
        row.make();
        const std::string target =
            std::string(row.name).find("too long") != std::string::npos ? longName : state;
        const Bytes before = ReadBytes(target), romBefore = ReadBytes(rom);
        for (const std::string& args :
             {"set " + Quoted(target) + " money=5", "rename-item " + Quoted(rom) + " 1 Cork"}) {
            std::string said;
            // The row's environment, as sh sets it (Windows takes the folder from none).
            std::string environment =
                row.command.empty() ? "env XDG_DATA_HOME=" + Quoted(data) + " " : row.command;
            if (kWindows) {
                environment.clear();
            }
            const int code = Shell((kWindows ? "cd /d " : "cd ") + Quoted(dir.Path()) + " && " +
                                       environment + cli + " " + args + " 2>&1",
                                   &said);
            if (std::string(row.reason).empty()) {
                EXPECT_EQ(code, 0) << said;
                if (target == longName) {
                    // The folder is named by the file name's first 64 bytes and the path's hash.
                    bool named = false;
                    for (const auto& entry : fs::directory_iterator(PathOf(backups), ec)) {
                        const std::string name = Utf8(entry.path().filename());
                        named = named || (name.size() == 64 + 1 + 16 &&
                                          name.substr(0, 65) == std::string(64, 'n') + "-");
                    }
                    EXPECT_TRUE(named) << "no folder of the long name's first 64 bytes";
                }
                if (!row.backupsIn.empty()) {
                    bool found = false;
                    for (auto entry = fs::recursive_directory_iterator(row.backupsIn, ec);
                         !ec && entry != end; entry.increment(ec)) {
                        found = found || entry->path().extension() == ".bak";
                    }
                    EXPECT_TRUE(found) << "no backup in " << row.backupsIn << " for " << args;
                    EXPECT_FALSE(fs::exists(dir / "data")) << "a relative folder was used";
                }
                continue;
            }
            EXPECT_EQ(code, 2) << said;
            EXPECT_THAT(said, HasSubstr("no backup of it could be made first"));
            EXPECT_THAT(said, HasSubstr(row.reason));
            EXPECT_EQ(ReadBytes(target), before);
            EXPECT_EQ(ReadBytes(rom), romBefore);
        }
        // A refusal leaves nothing half made where backups go.
        for (const std::string& root : {data, dir / "home"}) {
            for (auto entry = fs::recursive_directory_iterator(root, ec); !ec && entry != end;
                 entry.increment(ec)) {
                EXPECT_TRUE(std::string(row.reason).empty() || entry->path().extension() != ".bak")
                    << entry->path();
            }
        }
    }
    EXPECT_EQ(Run({"set", state, "money=5", "--no-backup"}), 0);
}

// Another program's lock on the state, and closed standard streams, never lead to a write.
TEST_F(Cli, LockedFilesAndClosedStreamsAreNeverWritten) {
    // Held with flock, and with an fcntl lock: refused at once, never waited on. On Windows, by
    // a second handle as an emulator may hold its state: one that shares no writing, and one
    // that holds a LockFileEx lock.
    struct Holder {
        const char* name;
        std::function<std::shared_ptr<void>()> hold;  // held until the result is let go
        const char* reason;
    };
#ifdef _WIN32
    const std::vector<Holder> holders = {
        {"a handle that shares no writing",
         [&] { return std::make_shared<HeldFile>(state, HeldFile::kDenyWrite); },
         "in use by another program"},
        {"a LockFileEx lock", [&] { return std::make_shared<HeldFile>(state, HeldFile::kLocked); },
         "another program holds a lock on it"},
    };
#else
    const auto shellLocker = [&](const std::string& locker) {
        return [&, locker]() -> std::shared_ptr<void> {
            std::filesystem::remove(dir / "held");
            EXPECT_EQ(Shell(locker), 0);
            for (int i = 0; i < 100 && !std::filesystem::exists(dir / "held"); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            return {nullptr,
                    [](void*) { Shell("pkill -f 'sleep 5' ; pkill -f 'time.sleep\\(5\\)'"); }};
        };
    };
    const std::vector<Holder> holders = {
        {"flock",
         shellLocker("flock -x '" + state + "' -c 'touch " + dir / "held" +
                     "; sleep 5' >/dev/null 2>&1 &"),
         "another program holds a lock on it"},
        {"an fcntl lock",
         shellLocker("python3 -c \"import fcntl,time,pathlib; f=open('" + state +
                     "','r+'); fcntl.lockf(f, fcntl.LOCK_EX); pathlib.Path('" + dir / "held" +
                     "').touch(); time.sleep(5)\" >/dev/null 2>&1 &"),
         "another program holds a lock on it"},
    };
#endif
    for (const Holder& holder : holders) {
        SCOPED_TRACE(holder.name);
        const Bytes before = ReadBytes(state);
        const std::shared_ptr<void> held = holder.hold();
        EXPECT_EQ(Run({"set", state, "money=5"}), 2);
        EXPECT_THAT(err.str(), HasSubstr(holder.reason));
        EXPECT_EQ(ReadBytes(state), before);
    }
    // A state opened as descriptor 2 would take the refusal's words: 144 bytes at 45056.
    if (!Can(kNoDescriptorNumbers, "a state opened while standard error is closed")) {
        return;
    }
    const Bytes before = ReadBytes(state);
    WriteBytes(dir / "short.swr", Bytes(100, 0x5A));
    EXPECT_EQ(
        Shell(cli + " import-config " + Quoted(dir / "short.swr") + " " + Quoted(state) + " 2>&-"),
        2);
    EXPECT_THAT(Changed(before), IsEmpty());
}

// The fault matrix: each row is a bad file in one place; every command is run on it, as the
// program, with a time limit (a FIFO must never hang it). A failing command must name the
// reason and leave every file's bytes as they were.
TEST_F(Cli, FaultMatrix) {
    namespace fs = std::filesystem;
    const std::string config = dir / "party.swr";
    // Every command, on the state, ROM and configuration of these names (a row may name others).
    const auto commandsOn = [&](const std::string& stateName, const std::string& configName) {
        const std::string s = Quoted(dir / stateName), r = Quoted(rom),
                          c = Quoted(dir / configName);
        return std::vector<std::string>{"show " + s,
                                        "set " + s + " money=1",
                                        "flag " + s + " on 1",
                                        "export-config " + s + " " + c,
                                        "import-config " + c + " " + s,
                                        "items " + r,
                                        "rename-item " + r + " 1 Cork"};
    };
    // What a row does to a file, after the fresh demo files are laid out.
    const auto bytes = [](const std::string& path, const Bytes& content) {
        return [=] { WriteBytes(path, content); };
    };
    const auto folder = [](const std::string& path) {
        return [=] { fs::remove(path), fs::create_directory(path); };
    };
    const auto fifo = [](const std::string& path) {
        return [=] { fs::remove(path), MakeFifo(path); };
    };
    const auto link = [](const std::string& path, const std::string& target) {
        return [=] { fs::remove_all(path), fs::create_symlink(target, path); };
    };
    const auto mode = [](const std::string& path, int bits) {
        return [=] { fs::permissions(path, fs::perms(bits)); };
    };
    const auto readOnly = [](const std::string& path, int bits) {
        return [=] { ASSERT_TRUE(MakeReadOnly(path, fs::perms(bits))); };
    };
    // The configuration as a link into a folder the user may not write in; `inside`: the user's
    // own configuration is moved there first.
    const auto locked = [&](bool inside) {
        return [&, inside] {
            fs::create_directory(dir / "locked");
            if (inside) {
                fs::rename(config, dir / "locked/party.swr");
            }
            fs::permissions(dir / "locked", fs::perms(0555));
            link(config, dir / "locked/party.swr")();
        };
    };
    struct Row {
        const char* name;
        std::function<void()> make;
        const char* codes;    // the exit code of show set flag export import items rename
        const char* reason;   // in what a failing command says (or one of "a|b")
        bool asUser = false;  // run as an ordinary user (nobody) where the test is root
        const char* lacking = nullptr;
        std::string stateName = "vellumgate.zs1";  // the names the commands are given
        std::string configName = "party.swr";
    };
    const Bytes demoRom = ReadBytes(rom);
    Bytes lowerCase = original;
    std::memcpy(lowerCase.data(), "zsnes save state", 16);
    const char* const state2 = "2222200";  // every command on the state fails, none on the ROM
    const char* const config2 = "0002200";
    const std::string readOnly0444 = ReadOnlyReason("0444");
    const std::vector<Row> rows = {
        {"short state", bytes(state, Bytes(original.begin(), original.begin() + 100)), state2,
         "too short"},
        {"lower-case header", bytes(state, lowerCase), state2, "not a ZSNES save state"},
        {"state is a folder", folder(state), state2, "it is a folder"},
        {"state is a FIFO", fifo(state), state2, "named pipe (FIFO)", false, kNoFifos},
        {"state is /dev/zero", link(state, "/dev/zero"), state2, "it is a device", false,
         kNoDevices},
        {"state is a link loop", link(state, state), state2, "Too many levels of symbolic links",
         false, kNoLinks},
        {"state read-only (mode 0444; on Windows its attribute)", readOnly(state, 0444), state2,
         readOnly0444.c_str()},
        {"state of mode 0000", mode(state, 0), state2, "allows no reading", false, kNoModeBits},
        {"state of another user, ordinary user", [&] { ASSERT_TRUE(GiveTo(state, "root")); },
         state2, "Permission denied", true, kNoOtherUsers},
        {"ROM shorter than its item table",
         bytes(rom, Bytes(demoRom.begin(), demoRom.begin() + 70000)), "0000002",
         "ends before the name of item 1"},
        {"ROM is a folder", folder(rom), "0000022", "it is a folder"},
        {"ROM is a FIFO", fifo(rom), "0000022", "named pipe (FIFO)", false, kNoFifos},
        {"ROM read-only (mode 0444; on Windows its attribute)", readOnly(rom, 0444), "0000002",
         readOnly0444.c_str()},
        {"short configuration", bytes(config, Bytes(100, 0x41)), "0000200",
         "shorter than a Statewright configuration"},
        {"huge configuration", [&] { WriteBytes(config, {}), fs::resize_file(config, 100 << 20); },
         "0002000", "larger than"},
        {"configuration is a folder", folder(config), config2, "it is a folder"},
        {"configuration is a FIFO", fifo(config), config2, "named pipe (FIFO)", false, kNoFifos},
        {"configuration is the state", link(config, state), config2, "save state", false, kNoLinks},
        {"configuration is the ROM", link(config, rom), config2, "ROM", false, kNoLinks},
        {"configuration is /dev/full", link(config, "/dev/full"), config2, "it is a device", false,
         kNoDevices},
        {"new configuration in a read-only folder", locked(false), config2,
         "Permission denied|No such file or directory", true, kNoOtherUsers},
        {"configuration the user may write in a folder the user may not (rewritten in place)",
         locked(true), "0000000", "", true, kNoOtherUsers},
#ifdef _WIN32
        // Names that Windows takes for a device, or cuts: never written to, nor read instead.
        {"configuration named NUL", [] {}, config2, "for a device", false, nullptr,
         "vellumgate.zs1", "NUL"},
        {"configuration named CON.swr", [] {}, config2, "for a device", false, nullptr,
         "vellumgate.zs1", "CON.swr"},
        {"configuration name with a trailing dot (party.swr is there)", [] {}, config2, "dot",
         false, nullptr, "vellumgate.zs1", "party.swr."},
        {"configuration name with a trailing space (party.swr is there)", [] {}, config2, "space",
         false, nullptr, "vellumgate.zs1", "party.swr "},
        {"state name with a trailing dot (vellumgate.zs1 is there)", [] {}, state2, "dot", false,
         nullptr, "vellumgate.zs1."},
        {"state named AUX.zs1", [] {}, state2, "for a device", false, nullptr, "AUX.zs1"},
#endif
    };
    const bool root = RunningAsRoot();
    // The program copied where any user may run it: the build folder may lie where nobody
    // cannot reach it (under /root, say).
    TempDir bin;
    const fs::path built = PathOf(HostPath(STATEWRIGHT_CLI));
    const std::string program = bin / Utf8(built.filename());
    fs::copy_file(built, PathOf(program));
    fs::permissions(PathOf(bin.Path()), fs::perms(0755));
    fs::permissions(PathOf(program), fs::perms(0755));
    for (const Row& row : rows) {
        if (!Can(row.lacking, row.name)) {
            continue;
        }
        if (row.asUser && !root) {
            continue;  // another user's files can be made only by root; CI runs as root
        }
        const std::vector<std::string> commands = commandsOn(row.stateName, row.configName);
        for (int op = 0; op < std::ssize(commands); ++op) {
            SCOPED_TRACE(std::string(row.name) + " / " + commands[op]);
            // A fresh folder each time: the demo files, a good configuration, then the fault.
            fs::remove_all(dir.Path());
            fs::create_directories(dir / "data");
            WriteBytes(state, original);
            WriteBytes(rom, demoRom);
            WriteBytes(config, Bytes(2259, 0));
            const bool asUser = row.asUser && root;
            if (asUser) {  // the user's own files, in a folder the user may use
                fs::permissions(dir.Path(), fs::perms(0777));
                for (const std::string& path : {dir / "data", state, rom, config}) {
                    ASSERT_TRUE(GiveTo(path, "nobody")) << path;
                }
            }
            row.make();
            // The names in the folder, but for the backups' (a failure leaves no new one).
            const auto names = [&] {
                std::set<std::string> found;
                for (const auto& entry : fs::recursive_directory_iterator(PathOf(dir.Path()))) {
                    const std::string name = Generic(Utf8(entry.path()));
                    if (name.find("/data/") == std::string::npos) {
                        found.insert(name);
                    }
                }
                return found;
            };
            const std::set<std::string> namesBefore = names();
            std::map<std::string, Bytes> before;
            for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
                std::error_code ignored;
                if (entry.is_regular_file(ignored) && fs::file_size(entry.path()) < (1 << 20)) {
                    before[Utf8(entry.path())] = ReadBytes(Utf8(entry.path()));
                }
            }
            const std::string limits =
                kWindows
                    ? ""
                    : std::string("timeout 20 ") +
                          (asUser ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "") +
                          "env XDG_DATA_HOME=" + Quoted(dir / "data") + " ";
            const std::string command =
                limits + Quoted(program) + " " + commands[op] + " 2>&1 >" + kNullDevice;
            std::string said;
            const int code = Shell(command, &said);
            EXPECT_EQ(code, row.codes[op] - '0') << said;
            if (code != 0) {
                const std::string reasons = row.reason;
                const std::string first = reasons.substr(0, reasons.find('|'));
                const std::string second = reasons.substr(reasons.find('|') + 1);
                EXPECT_TRUE(said.find(first) != std::string::npos ||
                            said.find(second) != std::string::npos)
                    << said;
                for (const auto& [path, bytes] : before) {
                    if (Generic(path).find("/data/") == std::string::npos) {
                        EXPECT_EQ(ReadBytes(path), bytes) << path;
                    }
                }
                EXPECT_EQ(names(), namesBefore) << "a file was left behind";
            }
            fs::permissions(dir.Path(), fs::perms::owner_all);
            if (fs::exists(dir / "locked")) {
                fs::permissions(dir / "locked", fs::perms::owner_all);
            }
            if (kWindows) {  // a read-only file there is deleted by no one
                std::error_code ignored;
                fs::permissions(state, fs::perms::owner_write, fs::perm_options::add, ignored);
                fs::permissions(rom, fs::perms::owner_write, fs::perm_options::add, ignored);
            }
        }
    }
}

}  // namespace
}  // namespace sw::test
