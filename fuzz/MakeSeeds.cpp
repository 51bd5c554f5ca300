// Writes the fuzz targets' first inputs into DIR/<target>/: the bytes that the readers look at,
// cut from the demo files, states in every framing around the demo's work RAM, and a few small
// hand-made texts. Made at run time, so that no binary input lives in the repository.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "ConfigFile.h"
#include "Demo.h"
#include "EmulatorStates.h"
#include "FuzzSupport.h"
#include "GameText.h"

namespace sw::fuzz {
namespace {

namespace fs = std::filesystem;

void Seed(const fs::path& dir, const std::string& name, const Bytes& bytes) {
    fs::create_directories(dir);
    WriteFile((dir / name).string(), bytes);
}

void Texts(const fs::path& dir, std::initializer_list<std::string> texts) {
    int n = 0;
    for (const std::string& text : texts) {
        Seed(dir, "hand-" + std::to_string(++n), Bytes(text.begin(), text.end()));
    }
}

void Seed(const fs::path& dir, const std::string& name, const std::string& bytes) {
    Seed(dir, name, Bytes(bytes.begin(), bytes.end()));
}

Bytes Cut(const Bytes& bytes, long from, long to) {
    return Bytes(bytes.begin() + from, bytes.begin() + to);
}

void Make(const fs::path& root) {
    const Bytes state = MakeDemoState();  // the state target places its input at 42,004
    Seed(root / "state", "demo", Cut(state, 42004, 43163));
    Seed(root / "state", "demo-longer", Cut(state, 42004, 43300));
    Seed(root / "state", "demo-short", Cut(state, 42004, 43100));

    // Whole states, one of each framing (the compressed ones with other chunk sizes and levels),
    // and the shortest ZSNES state that holds every field.
    Seed(root / "format", "zsnes", state);
    Seed(root / "format", "zsnes-least", Cut(state, 0, 43163));
    const std::string wram = test::DemoWram();
    const std::string snes9x = test::Snes9xSnapshot(wram);
    Seed(root / "format", "bsnes", test::BsnesState(wram, "Accuracy", 0));
    Seed(root / "format", "ares", test::AresState(wram, 2048));
    Seed(root / "format", "snes9x", snes9x);
    Seed(root / "format", "snes9x-gzip", test::Gzip(snes9x));
    Seed(root / "format", "rastate", test::Rastate(snes9x));
    Seed(root / "format", "rzip",
         test::Rzip(test::Rastate(test::BsnesState(wram, "Balanced", 8192))));
    Seed(root / "format", "rzip-bare", test::Rzip(test::AresState(wram, 0), 65536, 1));

    const Bytes rom = MakeDemoRom();  // the title, then the name table
    Bytes titleAndTable = Cut(rom, 65984, 65995);
    const Bytes table = Cut(rom, 1397248, 1397248 + 39 * 256);
    titleAndTable.insert(titleAndTable.end(), table.begin(), table.end());
    Seed(root / "rom", "demo", titleAndTable);
    Seed(root / "rom", "demo-short", Cut(titleAndTable, 0, 11 + 39 * 100 + 20));
    Bytes foreign = Cut(titleAndTable, 0, 11 + 39 * 10);
    std::copy_n("STRANGELAND", 11, foreign.begin());
    Seed(root / "rom", "foreign", foreign);

    // The demo party as a configuration file, whole and cut short.
    GameState party = IndexedState();
    std::FILE* memory = fmemopen(const_cast<std::uint8_t*>(state.data()), state.size(), "rb");
    FUZZ_CHECK(memory != nullptr && party.ReadAll(memory));
    std::fclose(memory);
    CountingPrompter prompter;
    fs::create_directories(root / "config");
    const std::string config = (root / "config" / "demo").string();
    FUZZ_CHECK(WriteConfigFile(config, party, prompter));
    Seed(root / "config", "demo-short", Cut(ReadFile(config), 0, 338));

    Texts(root / "descriptions",
          {"'Statewright-generated event description listing\n'\n$0001:Started at the Bindery\n"
           "$0002:\n$0010:Gift box\n$0400:Last\n",
           "'comment\n10:Gift box\r\n0x11:Pier:cut here\n::$0012::Lamp\n$0000:slot zero\n"
           "$0401:out of range\n-1:negative\n$0020\n\n$0030:no line end",
           "1:first\n::\n2:second\n:::"});
    Texts(root / "flag_number", {"$0010", "10", "0x10", " -$1F", "+7", "$0400", "FFFFFFFF",
                                 "100000000", "-0x", "zz", "1$0"});
    Texts(root / "game_text", {Latin1ToUtf8("Marlowe"), Latin1ToUtf8("Caf\xE9 \xD0\xFF"),
                               "\xE2\x82\xAC", "\xF0\x9F\x99\x82!", "a\x80z", "\xC3"});
}

}  // namespace
}  // namespace sw::fuzz

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 1;
    }
    sw::fuzz::Make(argv[1]);
    return 0;
}
