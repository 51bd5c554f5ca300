// The hidden extras' texts and rules: the goods secrets, the pickle story, the name phrases
// and the about text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <set>

#include "AboutText.h"
#include "GoodsSecrets.h"
#include "Latin1Case.h"
#include "NamePhrases.h"
#include "PickleStory.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

TEST(GoodsSecrets, ArticleFollowsTheFirstCharacter) {
    for (const char* name : {"apple", "Egg", "inkwell", "Otter", "umbrella", "Ugly Mug"}) {
        EXPECT_EQ(SecretItemArticle(name), " an ") << name;
    }
    // Only the ten plain vowels count: not y, not accented vowels, not a leading space.
    for (const char* name : {"", "Yew Bow", "hat",
                             "\xC9"
                             "clair",
                             " apple", "1 egg"}) {
        EXPECT_EQ(SecretItemArticle(name), " a ") << name;
    }
}

TEST(GoodsSecrets, MessageWordForWord) {
    EXPECT_EQ(GoodsSecretMessage("Wren", "Inkwell of Ages"),
              "Hey, you found one of the secret dealies hidden within this program. If you're "
              "seeing this, it means you gave Wren an Inkwell of Ages. Of course, this was the "
              "easy secret. You'll never find the others. \xAC_\xAC\r\n\r\n(HINT: They don't in "
              "any way whatsoever involve pickles or the Marigolds.)\r\n\r\nOh, and don't bother "
              "looking in the .dat file. They're not there either.");
    EXPECT_THAT(GoodsSecretMessage("", ""), ::testing::HasSubstr("you gave  a . Of course"));
}

TEST(GoodsSecrets, SecretItemCountsOnlyForTheFirstMember) {
    GameState state;
    EXPECT_FALSE(CarriesSecretItem(state));
    for (int member = 1; member < 4; ++member) {
        state.characters[member].goods.fill(206);
    }
    state.characters[0].goods.fill(205);
    state.characters[0].goods[0] = 207;
    EXPECT_FALSE(CarriesSecretItem(state));
    for (int slot = 0; slot < 14; ++slot) {
        GameState one;
        one.characters[0].goods[slot] = 0xCE;
        EXPECT_TRUE(CarriesSecretItem(one)) << slot;
    }
}

TEST(GoodsSecrets, PickleInAnySlotByCurrentNameInAnyCase) {
    ItemNameTable names = DefaultItemNames();
    GameState state;
    for (auto& member : state.characters) {
        member.goods.fill(0xEA);
    }
    EXPECT_FALSE(CarriesPickle(state, names));  // no default name holds the word
    names[0xEA] = "Sweet PiCkLe Relish";        // renamed items count by their new names
    EXPECT_TRUE(CarriesPickle(state, names));
    names[0xEA] = "Pick le";
    EXPECT_FALSE(CarriesPickle(state, names));

    names[0x50] = "PICKLES";
    for (int member = 0; member < 4; ++member) {
        for (int slot = 0; slot < 14; ++slot) {
            GameState one = state;
            one.characters[member].goods[slot] = 0x50;
            EXPECT_TRUE(CarriesPickle(one, names)) << member << "/" << slot;
        }
    }
}

TEST(Latin1Case, LowersAsciiAndAccentedCapitalsOnly) {
    EXPECT_EQ(LowerLatin1("AZaz09 '@[`{"), "azaz09 '@[`{");
    EXPECT_EQ(LowerLatin1("\xC0\xC9\xD6\xD7\xD8\xDE\xDF\xE0\xFF\xAC"),
              "\xE0\xE9\xF6\xD7\xF8\xFE\xDF\xE0\xFF\xAC");
}

TEST(PickleStory, CountsAndSeparators) {
    const auto& parts = PickleStoryParts();
    ASSERT_EQ(parts.size(), 32u);
    EXPECT_EQ(parts[0].size(), 144u);
    EXPECT_THAT(std::string(parts[0]), ::testing::HasSubstr("pickles"));
    // The parts one after another, each followed by two line breaks, and nothing else.
    const std::string& text = PickleStoryText();
    EXPECT_EQ(text.size(), 11234u + 32 * 4);
    std::size_t at = 0;
    for (std::string_view part : parts) {
        ASSERT_FALSE(part.empty());
        EXPECT_EQ(text.compare(at, part.size(), part), 0);
        EXPECT_EQ(text.compare(at + part.size(), 4, "\r\n\r\n"), 0);
        at += part.size() + 4;
    }
    for (std::string_view part : parts) {
        for (char c : part) {
            ASSERT_TRUE(c >= 0x20 && c < 0x7F) << static_cast<int>(c);  // printable ASCII only
        }
    }
}

// Phrases 1-21: length, word count, the sounds before and after the message.
// clang-format off
constexpr std::size_t kLengths[21] = {14, 11, 14, 15, 11, 8, 11, 16, 14, 13, 11, 12, 13, 14, 4,
                                      19, 13, 5, 9, 8, 15};
constexpr int kWords[21] = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 4, 1, 3, 3, 1, 4, 2, 2, 1, 2, 4};
constexpr int kBefore[21] = {0, 0, 0, 0, 189, 0, 0, 184, 182, 186, 187, 185, 0, 188, 183, 179,
                             195, 196, 199, 197, 192};
constexpr int kAfter[21] = {0, 0, 0, 0, 0, 0, 180, 0, 0, 0, 0, 0, 190, 0, 0, 0, 0, 0, 0, 0, 0};
// clang-format on

// The phrases that answer with a message; the others have none.
const std::map<std::size_t, std::string> kMessages = {
    {1, "Hello, Mr. Thistlewood!"},
    {2, "Close, but no banana, Barnaby."},
    {3, "Don't worry, Barnaby. You can blame it on Edmund's grandfather."},
    {4, "Nice try, Lucius."},
    {5, "All you need is love, Caspar. That, and a clue."},
    {6, "Oh no, Nerys!"},
    {7, "You know it."},
    {13, "A wise man once rendered his description of the Glimmerforge community."},
};

TEST(NamePhrases, FormsAndReactions) {
    std::set<std::string> seen;
    for (std::size_t k = 0; k < kNamePhraseCount; ++k) {
        SCOPED_TRACE(k + 1);
        const NamePhrase& phrase = NamePhrases()[k];
        const std::string text = phrase.text;
        EXPECT_EQ(text.size(), kLengths[k]);
        EXPECT_EQ(std::count(text.begin(), text.end(), ' ') + 1, kWords[k]);
        EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("  ")));
        EXPECT_NE(text.front(), ' ');
        EXPECT_NE(text.back(), ' ');
        EXPECT_EQ(LowerLatin1(text), text);
        EXPECT_TRUE(seen.insert(text).second);
        EXPECT_EQ(phrase.soundBefore, kBefore[k]);
        EXPECT_EQ(phrase.soundAfter, kAfter[k]);
        EXPECT_EQ(phrase.movie, k == 0   ? PhraseMovie::kA
                                : k == 1 ? PhraseMovie::kB
                                         : PhraseMovie::kNone);
        const auto message = kMessages.find(k + 1);
        EXPECT_EQ(phrase.message != nullptr ? phrase.message : "",
                  message != kMessages.end() ? message->second : "");
    }
    // std::regex: GoogleTest's own on Windows knows no brackets.
    const std::string eighteen = NamePhrases()[17].text;
    EXPECT_TRUE(std::regex_match(eighteen, std::regex("[a-z]+ [0-9]"))) << eighteen;
    const std::string sixteen = NamePhrases()[15].text;
    EXPECT_EQ(std::count(sixteen.begin(), sixteen.end(), '\''), 1);
    EXPECT_TRUE(std::regex_match(sixteen, std::regex("[a-z ]*[a-z]'[a-z][a-z ]*"))) << sixteen;
}

TEST(NamePhrases, MatchIsWholeTextAfterLowerCasing) {
    for (std::size_t k = 0; k < kNamePhraseCount; ++k) {
        std::string name = NamePhrases()[k].text;
        EXPECT_EQ(MatchNamePhrase(name), static_cast<int>(k) + 1) << name;
        for (char& c : name) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(MatchNamePhrase(name), static_cast<int>(k) + 1) << name;
        EXPECT_EQ(MatchNamePhrase(name + " "), 0) << name;
        EXPECT_EQ(MatchNamePhrase(name.substr(1)), 0) << name;
    }
    EXPECT_EQ(MatchNamePhrase("Mr Thistlewood"), 1);
    EXPECT_EQ(MatchNamePhrase("mr  thistlewood"), 0);
    EXPECT_EQ(MatchNamePhrase(""), 0);
    EXPECT_EQ(MatchNamePhrase("Wren"), 0);
}

TEST(AboutText, EveryByteOfTheFileOrNothing) {
    TempDir dir;
    Bytes bytes(3000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);  // zeros, CR, LF and high bytes included
    }
    WriteBytes(dir / "about.dat", bytes);
    EXPECT_EQ(ReadAboutText(dir / "about.dat"), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(ReadAboutText(dir / "missing.dat"), "");
}

}  // namespace
}  // namespace sw::test
