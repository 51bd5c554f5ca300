// What the fuzz targets share: a private folder for the files that the readers take by path,
// a check that turns a broken property into a crash libFuzzer saves, a prompter that only
// counts, and a field-by-field comparison of two records.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "GameState.h"
#include "Prompter.h"

namespace sw::fuzz {

[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "\nproperty broken: %s (%s:%d)\n", what, file, line);
    std::abort();
}

// A property that must hold for every input; a broken one aborts, and libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::sw::fuzz::Broken(#condition, __FILE__, __LINE__))

using Bytes = std::vector<std::uint8_t>;

// One folder per process, in memory where /dev/shm exists (the description writer syncs every
// file it writes), removed at exit.
inline const std::string& Folder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                 : tmp != nullptr              ? tmp
                                                               : "/tmp";
        std::string pattern = base + "/statewright-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror(pattern.c_str());
            std::abort();
        }
        return pattern;
    }();
    static const bool cleanup = std::atexit([] {
                                    std::error_code ignored;
                                    std::filesystem::remove_all(Folder(), ignored);
                                }) == 0;
    (void)cleanup;
    return folder;
}

inline std::string PathIn(const std::string& name) {
    return Folder() + "/" + name;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    WriteFile(path, bytes.data(), bytes.size());
}

inline Bytes ReadFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    FUZZ_CHECK(file != nullptr);
    Bytes bytes;
    std::uint8_t chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return bytes;
}

inline long SizeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : -1;
}

class CountingPrompter : public Prompter {
public:
    void ShowMessage(const std::string&) override { ++messages; }
    bool AskYesNo(const std::string&) override {
        ++questions;
        return false;
    }
    Choice AskChoice(const std::string&, const std::string&, const std::string&) override {
        ++questions;
        return Choice::kCancel;
    }
    int messages = 0;
    int questions = 0;
};

// A record as the program starts it: members in slots 0-3.
inline GameState IndexedState() {
    GameState state;
    for (int k = 0; k < layout::kMemberCount; ++k) {
        state.characters[k].index = k;
    }
    return state;
}

inline auto Fields(const CharacterRecord& m) {
    return std::tie(m.index, m.name, m.level, m.experience, m.hpMax, m.ppMax, m.offense, m.defense,
                    m.speed, m.guts, m.luck, m.vitality, m.iq, m.goods, m.hp, m.pp);
}

// Every field, text buffers whole (the bytes behind a text's end are data too).
inline bool SameRecord(const GameState& a, const GameState& b) {
    for (int k = 0; k < layout::kMemberCount; ++k) {
        if (Fields(a.characters[k]) != Fields(b.characters[k])) {
            return false;
        }
    }
    return std::tie(a.currentCharacter, a.money, a.bank, a.playerName, a.dogName, a.favoriteFood,
                    a.psiSpecial, a.eventFlags) == std::tie(b.currentCharacter, b.money, b.bank,
                                                            b.playerName, b.dogName, b.favoriteFood,
                                                            b.psiSpecial, b.eventFlags);
}

}  // namespace sw::fuzz
