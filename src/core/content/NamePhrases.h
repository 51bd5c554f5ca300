// The 21 player names that get a reaction after a load or save: a message, a sound, or one
// of the two movies in the Misc. page's movie control.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace sw {

enum class PhraseMovie { kNone, kA, kB };

// One phrase and what it sets off, in this order: the movie, the sound before the message,
// the message (waits for OK), the sound after it. A sound id of 0 means no sound.
struct NamePhrase {
    const char* text;  // lower case, words separated by single spaces
    int soundBefore;
    const char* message;  // nullptr: no message
    int soundAfter;
    PhraseMovie movie;
};

inline constexpr std::size_t kNamePhraseCount = 21;

// Phrase n (1-21) is entry n - 1.
const std::array<NamePhrase, kNamePhraseCount>& NamePhrases();

// The 1-based number of the phrase the name equals once lower-cased, or 0 for none.
int MatchNamePhrase(const std::string& playerName);

}  // namespace sw
