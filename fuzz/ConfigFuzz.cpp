// Configuration files: the input is the file. Properties:
// - a file shorter than the 339 bytes the reader looks at, one that begins as a save state of
//   any emulator does (known version or not), or any gzip file, is refused with one message
//   and leaves the record as it was;
// - a loaded record keeps every text terminated and every number within its stored width;
// - writing the loaded record gives the input's first 339 bytes again (except the terminator
//   of each whole text buffer, which is always written 0) and 1,920 zeros, and reading that
//   file back gives the same record.
#include <string_view>

#include "ConfigFile.h"
#include "FuzzSupport.h"
#include "StateFormat.h"

namespace sw::fuzz {
namespace {

constexpr std::size_t kReadBytes = 339;
constexpr std::size_t kFileBytes = 2259;

// Offsets of the terminators stored with the member names, the dog's name, the favourite food
// and the special power.
bool IsTerminator(std::size_t at) {
    return (at < 156 && at % 39 == 5) || at == 192 || at == 199 || at == 210;
}

bool WithinWidths(const GameState& s) {
    for (const CharacterRecord& m : s.characters) {
        if (m.name[5] != 0 || m.experience < 0 || m.experience > 0xFFFFFF || m.hpMax < 0 ||
            m.hpMax > 0xFFFF || m.ppMax < 0 || m.ppMax > 0xFFFF || m.hp < 0 || m.hp > 0xFFFF ||
            m.pp < 0 || m.pp > 0xFFFF) {
            return false;
        }
    }
    return s.playerName[24] == 0 && s.dogName[6] == 0 && s.favoriteFood[6] == 0 &&
           s.psiSpecial[10] == 0 && s.money >= 0 && s.money <= 0xFFFFFF && s.bank >= 0 &&
           s.bank <= 0xFFFFFF;
}

}  // namespace
}  // namespace sw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sw;
    using namespace sw::fuzz;
    const std::string path = PathIn("in.swr");
    WriteFile(path, data, size);
    GameState state = IndexedState();
    CountingPrompter prompter;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (HasStateMagic(bytes) || bytes.substr(0, 2) == "\x1f\x8b") {
        // A save state is never read as a configuration.
        FUZZ_CHECK(ReadConfigFile(path, state, prompter) == ConfigRead::kCannotOpen);
        FUZZ_CHECK(prompter.messages == 1);
        FUZZ_CHECK(SameRecord(state, IndexedState()));
        return 0;
    }
    if (size < kReadBytes) {
        FUZZ_CHECK(ReadConfigFile(path, state, prompter) == ConfigRead::kTooShort);
        FUZZ_CHECK(prompter.messages == 1);
        FUZZ_CHECK(SameRecord(state, IndexedState()));
        return 0;
    }
    FUZZ_CHECK(ReadConfigFile(path, state, prompter) == ConfigRead::kLoaded);
    FUZZ_CHECK(prompter.messages == 0);
    FUZZ_CHECK(WithinWidths(state));

    const std::string out = PathIn("out.swr");
    std::remove(out.c_str());
    FUZZ_CHECK(WriteConfigFile(out, state, prompter));
    const Bytes written = ReadFile(out);
    FUZZ_CHECK(written.size() == kFileBytes);
    for (std::size_t at = 0; at < kFileBytes; ++at) {
        const std::uint8_t expected = at >= kReadBytes || IsTerminator(at) ? 0 : data[at];
        FUZZ_CHECK(written[at] == expected);
    }
    GameState back = IndexedState();
    FUZZ_CHECK(ReadConfigFile(out, back, prompter) == ConfigRead::kLoaded);
    FUZZ_CHECK(SameRecord(back, state));
    return 0;
}
