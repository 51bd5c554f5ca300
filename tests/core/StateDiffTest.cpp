// Comparing states and the JSON form of the editable data, on the demo bytes with one edit per
// row. Offsets are written out as numbers, so that a wrong constant in the layout shows.
#include <gmock/gmock.h>

#include <gtest/gtest.h>
#include <functional>

#include "Demo.h"
#include "EmulatorStates.h"
#include "ReadBack.h"
#include "StateDiff.h"
#include "StateJson.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

GameState StateOf(const std::string& bytes) {
    GameState state;
    state.NumberMembers();
    EXPECT_TRUE(state.ReadAll(bytes));
    return state;
}

std::string DemoBytes() {
    const Bytes demo = MakeDemoState();
    return std::string(demo.begin(), demo.end());
}

// The differences in one short line: a field as key a>b (texts in quotes, goods in brackets), a
// flag as its number with + when B has it on and - when off, bytes outside the fields as @offset+n.
std::string Short(const StateDifferences& differences, const std::vector<ByteRange>& raw) {
    std::string line;
    for (const FieldDifference& f : differences.fields) {
        const std::string open = f.kind == FieldKind::kText    ? "'"
                                 : f.kind == FieldKind::kGoods ? "["
                                                               : "";
        const std::string close = open == "[" ? "]" : open;
        line += " " + f.key + " " + open + f.a + close + ">" + open + f.b + close;
    }
    for (const FlagDifference& flag : differences.flags) {
        line += " " + FlagNumberText(flag.number) + (flag.a == flag.b ? "?" : flag.b ? "+" : "-");
    }
    for (const ByteRange& range : raw) {
        line += " @" + std::to_string(range.offset) + "+" + std::to_string(range.length);
    }
    return line.empty() ? line : line.substr(1);
}

TEST(StateDiff, EachEditShowsAsItsOwnDifference) {
    const std::tuple<const char*, long, Bytes, const char*> rows[] = {
        {"level of member 1", 42560 + 5, {99}, "member1.level 21>99"},
        {"experience, little-endian", 42465 + 6, {1, 0, 1}, "member0.experience 31450>65537"},
        {"maximum PP of member 3", 42750 + 12, {0x10, 0x01}, "member3.ppMax 83>272"},
        {"luck, the fifth attribute", 42655 + 25, {77}, "member2.luck 8>77"},
        {"the seven attributes",
         42560 + 21,
         {1, 2, 3, 4, 5, 6, 7},
         "member1.offense 35>1 member1.defense 44>2 member1.speed 30>3 member1.guts 13>4 "
         "member1.luck 12>5 member1.vitality 18>6 member1.iq 37>7"},
        {"maximum HP at relative 10", 42465 + 10, {0x01, 0x01}, "member0.hpMax 192>257"},
        {"current HP at relative 71", 42465 + 71, {0x05, 0x00}, "member0.hp 178>5"},
        {"current PP at relative 77", 42560 + 77, {0x01, 0x01}, "member1.pp 96>257"},
        {"a name, in game text", 42560, {0x71, 0x9C, 0x00}, "member1.name 'Odile'>'Al'"},
        {"goods: trailing empty slots left out",
         42465 + 35 + 10,
         {0x00},
         "member0.goods [21,62,68,82,1,130,130,97,94,179,193]>[21,62,68,82,1,130,130,97,94,179]"},
        {"cash", 42052, {0x09, 0x03, 0x00}, "money 4812>777"},
        {"bank", 42058, {0x01}, "bank 23370>88906"},
        {"favourite food", 42034, {0x84, 0x95, 0x91, 0x00}, "favoriteFood 'Scones'>'Tea'"},
        {"player's name", 42004, {0x71, 0x00}, "playerName 'Marlowe'>'A'"},
        {"dog's name", 42028, {0x82, 0x00}, "dogName 'Pip'>'R'"},
        {"special power", 42040, {0x71, 0x00}, "psiSpecial 'Inkstorm'>'A'"},
        {"cash's fourth byte, written as 0, is a field", 42055, {0xEE}, ""},
        {"flag $0005 set, $0001 cleared", 43035, {0x3E}, "$0001- $0005+"},
        {"flag $0400 cleared", 43162, {0x00}, "$0400-"},
        {"bytes outside the fields", 5000, {1, 2}, "@5000+2"},
        {"between two members' fields", 42465 + 15, {0xEE}, "@42480+1"},
        {"the unused byte behind the bank", 42059, {0xEE}, "@42059+1"},
        {"experience's fourth byte, written as 0, is a field", 42474, {0xEE}, ""},
        {"a text's bytes behind its end", 42028 + 4, {0x99}, ""},
    };
    const std::string a = DemoBytes();
    for (const auto& [what, offset, bytes, expected] : rows) {
        std::string b = a;
        std::copy(bytes.begin(), bytes.end(), b.begin() + offset);
        EXPECT_EQ(Short(CompareStates(StateOf(a), StateOf(b), nullptr), CompareOutsideFields(a, b)),
                  expected)
            << what;
    }
}

TEST(StateDiff, KnownFieldsAndTheReport) {
    // 39 bytes per member, 46 of texts, 7 of money, 128 of flags.
    EXPECT_EQ(KnownFieldBytes(DemoBytes()).size(), 4u * 39 + 46 + 7 + 128);
    // A longer B differs from A's end on.
    EXPECT_THAT(CompareOutsideFields("abcd", "abXdef"),
                ElementsAre(ByteRange{2, 1}, ByteRange{4, 2}));
    // A compressed state is looked at undone, its fields where its work RAM holds them: the
    // cash (ZSNES 42052) of a bsnes state in RetroArch's RZIP lies at 32 + 10915 + 42052 - 3091.
    const std::string core = BsnesState(DemoWram(), "Accuracy", 0);
    const auto edited = [&core](long at) {
        std::string changed = core;
        changed[static_cast<std::size_t>(at)] ^= 0x5A;
        return Rzip(Rastate(changed));
    };
    const std::string zipped = Rzip(Rastate(core));
    const long cash = 10915 + 42052 - 3091;
    EXPECT_EQ(KnownFieldBytes(zipped).size(), 4u * 39 + 46 + 7 + 128);
    EXPECT_NE(KnownFieldBytes(edited(cash)), KnownFieldBytes(zipped));
    EXPECT_EQ(KnownFieldBytes(edited(cash + 7)), KnownFieldBytes(zipped));  // behind the bank
    EXPECT_THAT(CompareOutsideFields(zipped, edited(cash)), IsEmpty());
    EXPECT_THAT(CompareOutsideFields(zipped, edited(cash + 7)),
                ElementsAre(ByteRange{32 + cash + 7, 1}));

    StateDifferences differences;
    differences.fields = {{"member0.level", FieldKind::kNumber, "23", "24"},
                          {"dogName", FieldKind::kText, "Pip", "R\xE9x"},
                          {"member2.goods", FieldKind::kGoods, "44,62", ""}};
    differences.flags = {{5, false, true, "Heard a bell"}, {16, true, false, ""}};
    const std::vector<ByteRange> raw = {{5000, 2}, {42059, 1}};
    EXPECT_EQ(DifferencesText(differences, &raw),
              "Fields that differ (A -> B):\n"
              "  member0.level     23 -> 24\n"
              "  dogName           \"Pip\" -> \"R\xC3\xA9x\"\n"
              "  member2.goods     44,62 -> (none)\n"
              "Flags that differ (their state in B):\n"
              "  $0005  on   Heard a bell\n"
              "  $0010  off\n"
              "Bytes outside the fields that differ (3 in 2 ranges):\n"
              "  0x01388-0x01389  2 bytes\n"
              "  0x0A44B-0x0A44B  1 byte\n");
    EXPECT_EQ(DifferencesText({}, nullptr), "The editable data are the same.\n");
}

// Three ways: what the player (mine) and another program (theirs) changed since `base` are put
// together field by field, goods slot by slot and flags bit by bit; a field both changed to
// different values is a conflict that `prefer` settles. Each row gives the merge against the
// base, then the conflicts as "key mine>theirs".
TEST(StateDiff, MergePutsBothSidesChangesTogetherAndNamesTheFieldsBothChanged) {
    using Edit = std::function<void(GameState&)>;
    const auto level = [](int v) { return [v](GameState& s) { s.characters[0].level = v; }; };
    const auto none = [](GameState&) {};
    struct Row {
        Edit mine, theirs;
        MergeSide prefer;
        const char* merged;
        const char* conflicts;
    };
    const Row rows[] = {
        {level(50), [](GameState& s) { s.money = 888; }, MergeSide::kMine,
         "member0.level 23>50 money 4812>888", ""},
        {level(50), level(50), MergeSide::kTheirs, "member0.level 23>50", ""},
        {level(50), level(60), MergeSide::kMine, "member0.level 23>50", "member0.level 50>60"},
        {level(50), level(60), MergeSide::kTheirs, "member0.level 23>60", "member0.level 50>60"},
        {none, level(60), MergeSide::kMine, "member0.level 23>60", ""},
        // Goods slot by slot: slot 0 is mine, slot 1 theirs; both changed slot 2.
        {[](GameState& s) { s.characters[1].goods[0] = 1, s.characters[1].goods[2] = 3; },
         [](GameState& s) { s.characters[1].goods[1] = 2, s.characters[1].goods[2] = 4; },
         MergeSide::kMine,
         "member1.goods "
         "[32,62,69,79,3,148,148,115,129,169]>[1,2,3,79,3,148,148,115,129,169]",
         "member1.goods "
         "[1,62,3,79,3,148,148,115,129,169]>[32,2,4,79,3,148,148,115,129,169]"},
        // The first slot too: theirs alone, then both, theirs preferred.
        {[](GameState& s) { s.characters[1].goods[1] = 6; },
         [](GameState& s) { s.characters[1].goods[0] = 5; }, MergeSide::kMine,
         "member1.goods "
         "[32,62,69,79,3,148,148,115,129,169]>[5,6,69,79,3,148,148,115,129,169]",
         ""},
        {[](GameState& s) { s.characters[1].goods[0] = 7; },
         [](GameState& s) { s.characters[1].goods[0] = 8; }, MergeSide::kTheirs,
         "member1.goods "
         "[32,62,69,79,3,148,148,115,129,169]>[8,62,69,79,3,148,148,115,129,169]",
         "member1.goods "
         "[7,62,69,79,3,148,148,115,129,169]>[8,62,69,79,3,148,148,115,129,169]"},
        // Flags bit by bit, in one byte: $0001 mine, $0002 theirs, $0003 both the same way.
        {[](GameState& s) { s.ToggleFlag(0), s.ToggleFlag(2); },
         [](GameState& s) { s.ToggleFlag(1), s.ToggleFlag(2); }, MergeSide::kMine,
         "$0001+ $0002+ $0003+", ""},
        {[](GameState& s) { StoreTypedText(s, StateText::kDogName, "Rex"); },
         [](GameState& s) { StoreTypedText(s, StateText::kDogName, "Fido"); }, MergeSide::kTheirs,
         "dogName 'Pip'>'Fido'", "dogName 'Rex'>'Fido'"},
    };
    GameState base = StateOf(DemoBytes());
    base.eventFlags.fill(0);
    for (const Row& row : rows) {
        GameState mine = base, theirs = base;
        row.mine(mine);
        row.theirs(theirs);
        std::vector<FieldDifference> conflicts;
        const GameState merged = MergeStates(base, mine, theirs, row.prefer, &conflicts);
        SCOPED_TRACE(row.merged);
        EXPECT_EQ(Short(CompareStates(base, merged, nullptr), {}), row.merged);
        EXPECT_EQ(Short(StateDifferences{conflicts, {}}, {}), row.conflicts);
    }
}

// `apply` stores what `set` would store for the same text: the same limits and widths. Each row
// gives what then differs from the demo, as EachEditShowsAsItsOwnDifference writes it.
TEST(StateJson, AppliesEveryFieldPresentByTheRulesOfSet) {
    const std::pair<const char*, const char*> rows[] = {
        {R"({"members":[{"level":300,"experience":20000000,"hp":40000,"offense":-1}]})",
         "member0.level 23>255 member0.experience 31450>16777215 member0.hp 178>32768 "
         "member0.offense 61>255"},
        {R"({"members":[{"slot":3,"name":"Zandorovik"},{"slot":1,"ppMax":32768}]})",
         "member1.ppMax 112>32768 member3.name 'Pell'>'Zando'"},
        // A U+0000 would end the text as well.
        {R"({"members":[{"name":"A\u0000B"}]})", "member0.name 'Wren'>'A?B'"},
        // "Ð" (0xD0) has no byte of its own: stored as 0x00 it would end the text.
        {R"({"money":20000000,"bank":-1,"psiSpecial":"\u00e9\u20ac\u00d0 and more"})",
         "money 4812>20000000 bank 23370>-1 psiSpecial 'Inkstorm'>'\xE9?? and mo'"},
        {R"({"members":[{},{},{"goods":[1,255]}]})",
         "member2.goods [44,62,67,77,146,146,146,144,158,172,106]>[1,255]"},
        {R"({"money":99999999999999999999,"bank":-1e30})",
         "money 4812>2147483647 bank 23370>-2147483648"},
        // "flags" lists every flag that is on, in any of its forms: $0005 goes off.
        {R"({"flags":["$0001",{"number":"0x10","description":"x"},1024],"file":"a","rom":null})",
         "$0001+ $0005- $0010+ $0400+"},
    };
    GameState demo = StateOf(DemoBytes());
    demo.eventFlags.fill(0);
    demo.SetFlag(4, true);  // only $0005 is on
    for (const auto& [json, expected] : rows) {
        GameState applied = demo;
        std::vector<std::string> errors;
        EXPECT_TRUE(ApplyStateJson(json, applied, errors));
        EXPECT_THAT(errors, IsEmpty());
        EXPECT_EQ(Short(CompareStates(demo, applied, nullptr), {}), expected) << json;
    }
}

TEST(StateJson, ShowsWhatApplyReadsBack) {
    GameState demo = StateOf(DemoBytes());
    DescriptionTable descriptions;
    descriptions[1] = "Woke up\n";
    const std::string json = StateJsonText(demo, "a.zs1", "", &descriptions);
    EXPECT_THAT(json, ::testing::HasSubstr(R"("rom": null)"));
    EXPECT_THAT(json, ::testing::HasSubstr(R"("number": "$0001",)"
                                           "\n"
                                           R"(      "description": "Woke up")"));
    GameState other;
    other.NumberMembers();
    std::vector<std::string> errors;
    ASSERT_TRUE(ApplyStateJson(json, other, errors));
    EXPECT_TRUE(CompareStates(demo, other, nullptr).Same());
}

// A wrong document is refused whole, the good fields before the bad one included, naming the JSON
// path of every error.
TEST(StateJson, RefusesAWrongDocumentNamingThePathOfEveryError) {
    const std::pair<const char*, std::vector<std::string>> rows[] = {
        {R"({"money": 5, "bank": "many"})", {"$.bank: a whole number is expected, not a text"}},
        {R"({"members": [{"level": 1.5}]})",
         {"$.members[0].level: a whole number is expected, not a number with a fraction"}},
        {R"({"members": [{"leval": 3}, {"slot": 7}]})",
         {"$.members[0].leval: no such field", "$.members[1].slot: slots run from 0 to 3"}},
        {R"({"members": [{"slot": 1}, {}]})", {"$.members[1]: member 1 is given twice"}},
        {R"({"members": [{}, {}, {}, {}, {"name": "Fifth"}]})",
         {"$.members[4]: there are four members, slots 0 to 3"}},
        {R"({"members": [{"goods": [1, 256]}]})",
         {"$.members[0].goods[1]: item codes run from 0 to 255"}},
        {R"({"members": [{"goods": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15]}]})",
         {"$.members[0].goods: at most 14 item codes (one per goods slot)"}},
        {R"({"flags": ["$0401", {"number": 0}, {"description": "x"}, true, "-$FFFFFFFF"]})",
         {"$.flags[0]: flag numbers run from $0001 to $0400",
          "$.flags[1].number: flag numbers run from $0001 to $0400",
          "$.flags[2]: the flag's \"number\" is missing",
          "$.flags[3]: a flag number (\"$0010\" or 16) is expected, not true",
          "$.flags[4]: flag numbers run from $0001 to $0400"}},
        {R"({"dogName": null, "nick name": "x"})",
         {"$.dogName: a text is expected, not null", "$[\"nick name\"]: no such field"}},
        {R"([1, 2])", {"$: a JSON object is expected, not a list"}},
        {"{\"money\": 1,\n", {"$: not JSON: parse error at line 2, column 1"}},
    };
    const GameState demo = StateOf(DemoBytes());
    for (const auto& [document, expected] : rows) {
        SCOPED_TRACE(document);
        GameState state = demo;
        std::vector<std::string> errors;
        EXPECT_FALSE(ApplyStateJson(document, state, errors));
        std::vector<::testing::Matcher<std::string>> starts;  // the parser adds its own words
        for (const std::string& error : expected) {
            starts.push_back(::testing::StartsWith(error));
        }
        EXPECT_THAT(errors, ::testing::ElementsAreArray(starts));
        EXPECT_TRUE(CompareStates(demo, state, nullptr).Same());
    }
}

}  // namespace
}  // namespace sw::test
