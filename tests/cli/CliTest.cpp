// statewright-cli end to end on the demo files: every edit is checked against the whole file,
// so that only the edited fields' bytes may differ and the length never changes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Cli.h"
#include "ItemNames.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Json = nlohmann::json;

// Our own reading of a save state, with the offsets written out as numbers.
struct NumberField {
    const char* key;
    long at;  // relative to the member's first byte
    int width;
};
constexpr NumberField kMemberNumbers[] = {
    {"level", 5, 1},    {"experience", 6, 3}, {"hpMax", 10, 2}, {"ppMax", 12, 2},
    {"offense", 21, 1}, {"defense", 22, 1},   {"speed", 23, 1}, {"guts", 24, 1},
    {"luck", 25, 1},    {"vitality", 26, 1},  {"iq", 27, 1},    {"hp", 71, 2},
    {"pp", 77, 2}};

Json ReadIndependently(const Bytes& b) {
    const auto le = [&](long at, int n) {
        long value = 0;
        for (int i = n; i-- > 0;) {
            value = value * 256 + b[at + i];
        }
        return value;
    };
    const auto text = [&](long at, int n) {
        std::string s;
        for (int i = 0; i < n && b[at + i] != 0x00 && b[at + i] != 0x30; ++i) {
            s += static_cast<char>(b[at + i] - 0x30);
        }
        return s;
    };
    Json json = {{"money", le(42052, 3)},          {"bank", le(42056, 3)},
                 {"playerName", text(42004, 24)},  {"dogName", text(42028, 6)},
                 {"favoriteFood", text(42034, 6)}, {"psiSpecial", text(42040, 10)},
                 {"members", Json::array()},       {"flags", Json::array()}};
    for (long s = 0, m = 42465; s < 4; ++s, m += 95) {
        Json member = {{"slot", s}, {"name", text(m, 5)}};
        for (const NumberField& field : kMemberNumbers) {
            member[field.key] = le(m + field.at, field.width);
        }
        member["goods"] = Bytes(b.begin() + m + 35, b.begin() + m + 49);
        json["members"].push_back(member);
    }
    for (int n = 0; n < 1024; ++n) {
        if ((b[43035 + n / 8] >> (n % 8)) & 1) {
            json["flags"].push_back(n + 1);
        }
    }
    return json;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Run({"demo", dir.Path()}), 0);
        original = ReadBytes(state);
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
    std::vector<long> Changed(const Bytes& expected, const std::string& path = {}) const {
        return DiffOffsets(expected, ReadBytes(path.empty() ? state : path));
    }

    TempDir dir;
    std::string state = dir / "vellumgate.zs1";
    std::string rom = dir / "vellumgate.smc";
    Bytes original;
    std::ostringstream out, err;
};

TEST_F(Cli, DemoHelpAndVersion) {
    EXPECT_EQ(original.size(), 275291u);
    EXPECT_EQ(ReadBytes(rom).size(), 3146240u);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("rename-item"));
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("statewright-cli"));
}

TEST_F(Cli, ShowJsonMatchesTheBytes) {
    Bytes bytes = original;
    for (long s = 0; s < 4; ++s) {
        Patch(bytes, 42465 + 95 * s + 9, {0xEE});  // not part of the experience
    }
    Patch(bytes, 42055, {0xEE});              // not part of the cash
    Patch(bytes, 42560, {0x71, 0x30, 0x72});  // "A", ended by 0x30
    Patch(bytes, 42655 + 71, {0x34, 0x12, 0x00, 0x00, 0x00, 0x00, 0x78, 0x56});  // HP, PP
    WriteBytes(state, bytes);
    ASSERT_EQ(Run({"show", "--json", state}), 0) << err.str();
    const Json shown = Json::parse(out.str());
    EXPECT_EQ(shown.at("file"), state);
    EXPECT_EQ(shown.at("rom"), rom);
    const Json expected = ReadIndependently(bytes);
    for (auto field = expected.begin(); field != expected.end(); ++field) {
        EXPECT_EQ(shown.at(field.key()), field.value()) << field.key();
    }
}

TEST_F(Cli, SetAppliesThePagesLimitsAndTouchesOnlyTheEditedBytes) {
    ASSERT_EQ(Run({"set", state, "member0.level=300", "member1.level=-1", "member2.level=abc",
                   "member0.experience=20000000", "member0.hp=40000", "member3.hpMax=32768",
                   "member1.pp=-2", "member3.luck=256", "money=20000000", "bank=-1",
                   "member0.name=Zandorovik", "member1.name=Al", "playerName=Al",
                   "dogName=R\xC3\x90"
                   "fusbark",
                   "member2.goods=0x15,21,0XfF"}),
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

TEST_F(Cli, RefusesAStateThatIsNotOneOrHasAForeignRom) {
    Bytes wrong = original;
    wrong[0] = 'z';
    for (const Bytes& bytes : {wrong, Bytes(original.begin(), original.begin() + 43162)}) {
        WriteBytes(state, bytes);
        EXPECT_EQ(Run({"set", state, "member0.level=9"}), 2);
        EXPECT_THAT(Changed(bytes), IsEmpty());
    }
    EXPECT_EQ(Run({"show", dir / "missing.zs1"}), 2);

    WriteBytes(state, original);
    Bytes foreign = ReadBytes(rom);
    std::memcpy(&foreign[65984], "STRANGELAND", 11);
    WriteBytes(rom, foreign);
    EXPECT_EQ(Run({"set", state, "member0.level=9"}), 3);
    EXPECT_THAT(err.str(), HasSubstr("WARNING: Associated ROM not valid"));
    EXPECT_THAT(Changed(original), IsEmpty());
    EXPECT_EQ(Run({"set", state, "member0.level=9", "--force"}), 0);
    Bytes expected = original;
    expected[42470] = 9;
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

    ASSERT_EQ(Run({"set", state, "money=5"}), 0);
    const Bytes edited = ReadBytes(state);
    WriteBytes(config, Bytes(300, 0x11));
    EXPECT_EQ(Run({"import-config", config, state}), 2);
    EXPECT_EQ(Run({"import-config", dir / "missing.swr", state}), 2);
    EXPECT_THAT(Changed(edited), IsEmpty());
}

TEST_F(Cli, RenameItemWritesOnlyItsRecord) {
    ASSERT_EQ(Run({"items", rom}), 0);
    const std::string listing = out.str();
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 256);
    EXPECT_THAT(listing, HasSubstr("\n0x61  " + DefaultItemNames()[0x61] + " [97]\n"));

    Bytes expected = ReadBytes(rom);
    ASSERT_EQ(Run({"rename-item", rom, "0x61", "Glass Lantern"}), 0) << err.str();
    EXPECT_EQ(out.str(), "Glass Lantern [97]\n");
    std::fill_n(expected.begin() + 1397248 + 39 * 97, 39, 0x30);
    for (int k = 0; k < 13; ++k) {
        expected[1397248 + 39 * 97 + k] = static_cast<std::uint8_t>("Glass Lantern"[k] + 0x30);
    }
    EXPECT_THAT(Changed(expected, rom), IsEmpty());
    EXPECT_EQ(Run({"rename-item", rom, "256", "x"}), 1);
    ASSERT_EQ(Run({"items", rom}), 0);
    EXPECT_THAT(out.str(), HasSubstr("\n0x61  Glass Lantern [97]\n"));
}

TEST_F(Cli, TheProgramExitsWithItsCodes) {
    const auto exitCode = [](const std::string& args) {
        const int status = std::system((STATEWRIGHT_CLI " " + args + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(exitCode("set '" + state + "' member0.level=7"), 0);
    EXPECT_EQ(exitCode("flag '" + state + "' on zz"), 1);
    EXPECT_EQ(exitCode("show '" + dir / "missing.zs1" + "'"), 2);
    EXPECT_EQ(ReadBytes(state)[42470], 7);
}

}  // namespace
}  // namespace sw::test
