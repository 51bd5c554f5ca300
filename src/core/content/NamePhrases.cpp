#include "NamePhrases.h"

#include "Latin1Case.h"

namespace sw {

const std::array<NamePhrase, kNamePhraseCount>& NamePhrases() {
    using enum PhraseMovie;
    // The table is aligned by hand.
    // clang-format off
    static constexpr std::array<NamePhrase, kNamePhraseCount> kPhrases = {{
        {"mr thistlewood",      0,   "Hello, Mr. Thistlewood!",        0,   kA},
        {"mr thistles",         0,   "Close, but no banana, Barnaby.", 0,   kB},
        {"broken lantern",      0,   "Don't worry, Barnaby. You can blame it on Edmund's "
                                     "grandfather.",                   0,   kNone},
        {"lucius goodwill",     0,   "Nice try, Lucius.",              0,   kNone},
        {"love potion",         189, "All you need is love, Caspar. That, and a clue.",
                                                                       0,   kNone},
        {"lost dog",            0,   "Oh no, Nerys!",                  0,   kNone},
        {"best editor",         0,   "You know it.",                   180, kNone},
        {"clocktower chime",    184, nullptr,                          0,   kNone},
        {"harbor foghorn",      182, nullptr,                          0,   kNone},
        {"squeaky quill",       186, nullptr,                          0,   kNone},
        {"oh me oh my",         187, nullptr,                          0,   kNone},
        {"inkquisition",        185, nullptr,                          0,   kNone},
        {"anvil and ash",       0,   "A wise man once rendered his description of the "
                                     "Glimmerforge community.",        190, kNone},
        {"the tide turns",      188, nullptr,                          0,   kNone},
        {"honk",                183, nullptr,                          0,   kNone},
        {"don't pet the ducks", 179, nullptr,                          0,   kNone},
        {"harbor shanty",       195, nullptr,                          0,   kNone},
        {"act 3",               196, nullptr,                          0,   kNone},
        {"lamplight",           199, nullptr,                          0,   kNone},
        {"ink blot",            197, nullptr,                          0,   kNone},
        {"yip yap yip yap",     192, nullptr,                          0,   kNone},
    }};
    // clang-format on
    return kPhrases;
}

int MatchNamePhrase(const std::string& playerName) {
    const std::string lower = LowerLatin1(playerName);
    for (std::size_t k = 0; k < kNamePhraseCount; ++k) {
        if (lower == NamePhrases()[k].text) {
            return static_cast<int>(k) + 1;
        }
    }
    return 0;
}

}  // namespace sw
