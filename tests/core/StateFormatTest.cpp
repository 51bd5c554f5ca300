// Other emulators' states: where each framing holds the work RAM (the offsets measured on the
// real emulators, written out as numbers), what is refused and why, and that an edit changes
// only the fields' bytes and keeps the wrapper's own parameters.
#include <gtest/gtest.h>

#include <functional>

#include "Demo.h"
#include "EmulatorStates.h"
#include "GameState.h"
#include "Sha256.h"
#include "StateDiff.h"
#include "StateFormat.h"

namespace sw::test {
namespace {

GameState Read(std::string_view bytes) {
    GameState state;
    state.NumberMembers();
    EXPECT_TRUE(state.ReadAll(bytes));
    return state;
}

const std::string& Wram() {
    static const std::string wram = DemoWram();
    return wram;
}

TEST(StateFormat, FindsTheWorkRamInEveryFramingAndEditsOnlyTheFields) {
    const std::string demo = [] {
        const auto bytes = MakeDemoState();
        return std::string(bytes.begin(), bytes.end());
    }();
    const GameState expected = Read(demo);
    const std::string bsnes = BsnesState(Wram(), "Accuracy", 8192);
    const std::string snes9x = Snes9xSnapshot(Wram());
    // The bytes, the name, the work RAM's offset in the unwrapped bytes.
    const std::tuple<std::string, std::string, long> cases[] = {
        {demo, "ZSNES 1.43", 3091},
        {bsnes, "bsnes-mercury v094 Accuracy", 19107},
        {BsnesState(Wram(), "Accuracy", 0), "bsnes-mercury v094 Accuracy", 10915},
        {BsnesState(Wram(), "Balanced", 32768), "bsnes-mercury v094 Balanced", 43683},
        {BsnesState(Wram(), "Performance", 2048), "bsnes-mercury v094 Performance", 12963},
        {AresState(Wram(), 8192), "ares v126 (serializer 125)", 8843},
        {AresState(Wram(), 0), "ares v126 (serializer 125)", 651},
        {AresState(Wram(), 32768), "ares v126 (serializer 125)", 33419},
        {snes9x, "snes9x snapshot 0012", 166},
        {Rastate(bsnes), "bsnes-mercury v094 Accuracy in RetroArch", 19107 + 32},
        {Rastate(snes9x), "snes9x snapshot 0012 in RetroArch", 166 + 32},
        {Rzip(Rastate(bsnes)), "bsnes-mercury v094 Accuracy in RetroArch RZIP", 19107 + 32},
        {Rzip(Rastate(snes9x), 65536, 9), "snes9x snapshot 0012 in RetroArch RZIP", 166 + 32},
        {Rzip(bsnes), "bsnes-mercury v094 Accuracy in RetroArch RZIP", 19107},
        {Gzip(snes9x), "snes9x snapshot 0012, gzip-compressed", 166},
    };
    for (const auto& [bytes, name, wram] : cases) {
        SCOPED_TRACE(name + " " + std::to_string(wram));
        const StateRecognition found = RecognizeState(bytes);
        ASSERT_EQ(found.verdict, StateVerdict::kKnown) << found.found;
        EXPECT_EQ(found.format.name, name);
        EXPECT_EQ(found.format.wram, wram);
        EXPECT_TRUE(CompareStates(Read(bytes), expected, nullptr).Same());

        GameState edited = expected;
        edited.money = 0x123456;
        edited.characters[2].level = 77;
        edited.characters[3].goods[13] = 0xAB;
        edited.SetFlag(1023, true);
        std::string written = bytes;
        ASSERT_TRUE(edited.WriteAll(written));
        const StateRecognition after = RecognizeState(written);
        ASSERT_TRUE(after.Known()) << after.found;
        EXPECT_TRUE(CompareStates(Read(written), edited, nullptr).Same());
        // Every changed byte lies in a field, moved to where this framing has the work RAM.
        const std::string_view before = found.Bytes(bytes);
        const std::string_view now = after.Bytes(written);
        ASSERT_EQ(now.size(), before.size());
        std::string inFields(before);
        for (const ByteRange& range : KnownFieldRanges()) {
            const auto at = static_cast<std::size_t>(range.offset + wram - 3091);
            inFields.replace(at, static_cast<std::size_t>(range.length),
                             now.substr(at, static_cast<std::size_t>(range.length)));
        }
        EXPECT_TRUE(inFields == now) << "a byte outside the fields changed";
        EXPECT_NE(before, now);
        // The wrapper's parameters: the length, or RZIP's chunk size and gzip's header; and
        // compressed again unchanged, with the level the file tells, a zlib file is itself.
        std::string rewrapped;
        ASSERT_TRUE(WrapState(found.format, found.Bytes(bytes), rewrapped));
        EXPECT_TRUE(rewrapped == bytes) << "not wrapped again as it came";
        if (found.format.compression == StateCompression::kNone) {
            EXPECT_EQ(written.size(), bytes.size());
        } else {
            EXPECT_EQ(written.substr(0, 12), bytes.substr(0, 12));
            EXPECT_EQ(after.format.level, found.format.level);
        }
    }
    EXPECT_EQ(RecognizeState(bsnes).format.romSha256, kTestRomSha);
    EXPECT_EQ(RecognizeState(BsnesState(Wram(), "Accuracy", 8192)).format.sram, 8192);
}

std::string Changed(std::string bytes, std::size_t at, std::string_view with) {
    return bytes.replace(at, with.size(), with);
}

TEST(StateFormat, RefusesWhatDoesNotFitSayingWhatItFound) {
    const std::string bsnes = BsnesState(Wram(), "Accuracy", 8192);
    const std::string ares = AresState(Wram(), 8192);
    const std::string snes9x = Snes9xSnapshot(Wram());
    const std::string rzip = Rzip(Rastate(bsnes));
    std::string damagedRzip = rzip;
    damagedRzip[200] = static_cast<char>(damagedRzip[200] ^ 0x55);
    std::string badCrc = Gzip(snes9x);
    badCrc[badCrc.size() - 6] ^= 1;
    const std::string shortRam = "#!s9xsnp:0012\n" + Snes9xBlock("RAM", Wram().substr(1));
    const std::pair<std::string, std::string> cases[] = {
        {Changed(bsnes, 4, U32Bytes(28)),
         "a bsnes state of serializer version 28, which this program does not know"},
        {Changed(bsnes, 584, std::string_view("Turbo\0\0\0", 8)),
         "a bsnes state of the profile \"Turbo\", which this program does not know"},
        {bsnes.substr(0, bsnes.size() - 1),
         "a bsnes-mercury v094 Accuracy state 1 byte shorter than its cartridge's with 8,192 "
         "bytes of battery RAM (297,876 bytes): cut off or damaged"},
        {bsnes + "x",
         "a bsnes-mercury v094 Accuracy state 1 byte longer than its cartridge's with 8,192 "
         "bytes of battery RAM (297,876 bytes): cut off or damaged"},
        {BsnesState(Wram(), "Accuracy", 0) + std::string(20000, '\0'),
         "a bsnes-mercury v094 Accuracy state of 309,684 bytes, which fits no cartridge "
         "(289,684 bytes and 0 or a power of two of at least 2,048 bytes of battery RAM)"},
        {Changed(ares, 5, "127"), "an ares state of version 127, which this program does not know"},
        {Changed(ares, 5, "v131"),
         "an ares state of version v131, which this program does not know"},
        {Changed(ares, 4, std::string(1, '\0')),
         "an ares state whose synchronize byte is 00, which no state ares loads safely has"},
        {ares.substr(0, ares.size() - 1),
         "an ares state 1 byte shorter than its cartridge's with 8,192 bytes of battery RAM "
         "(274,140 bytes): cut off or damaged"},
        {Changed(ares, 8843 - 24, U32Bytes(312)),
         "an ares state whose processor clocks are not where a state with 8,192 bytes of "
         "battery RAM has them (damaged, or of another cartridge)"},
        {Changed(snes9x, 9, "0013"),
         "a snes9x snapshot of version 0013, which this program does not know"},
        {shortRam, "a snes9x snapshot whose RAM block holds 131,071 bytes, not 131,072"},
        {snes9x.substr(0, snes9x.size() - 1), "a snes9x snapshot cut short in its block SRA"},
        {Changed(snes9x, 17, "x"), "a snes9x snapshot whose blocks are damaged at byte 14"},
        {"#!s9xsnp:0012\n" + Snes9xBlock("NAM", "x"), "a snes9x snapshot without its RAM block"},
        {Rastate(std::string(300000, 'z')),
         "a RetroArch state whose core data is not a state this program knows"},
        {Rastate(Changed(bsnes, 4, U32Bytes(26))),
         "a RetroArch state whose core data is not a state this program knows (a bsnes state "
         "of serializer version 26, which this program does not know)"},
        {Rastate(bsnes).substr(0, 40000), "a RetroArch state cut short in its block \"MEM \""},
        {Rastate(bsnes).substr(0, bsnes.size() + 36), "a RetroArch state cut short (no END block)"},
        {damagedRzip, "a RetroArch RZIP file whose compressed data is damaged"},
        {rzip.substr(0, rzip.size() - 10), "a RetroArch RZIP file cut short"},
        // A chunk size of 4 GiB and a stream that inflates past the stated size.
        {Changed(Rzip(std::string(4u << 20, 'z'), 0xFFFFFFFF), 12, U32Bytes(1000) + U32Bytes(0)),
         "a RetroArch RZIP file whose compressed data is damaged"},
        {rzip + "junk", "a RetroArch RZIP file with 4 bytes behind its data"},
        {badCrc, "a gzip file that is damaged or holds more than one member"},
        {Gzip("plain text"), "a gzip file whose content is not a state this program knows"},
    };
    for (const auto& [bytes, found] : cases) {
        SCOPED_TRACE(found);
        const StateRecognition r = RecognizeState(bytes);
        EXPECT_EQ(r.verdict, StateVerdict::kRefused);
        EXPECT_EQ(r.found, found);
        EXPECT_TRUE(HasStateMagic(bytes) || bytes.substr(0, 2) == "\x1f\x8b");
    }
    // No magic at all: the caller's own message ("not a ZSNES save state").
    for (const std::string& bytes : {std::string("BST2xxxx"), std::string(70000, '\x1f'),
                                     std::string(), Filler(300000, 3)}) {
        EXPECT_EQ(RecognizeState(bytes).verdict, StateVerdict::kUnknown);
        EXPECT_TRUE(RecognizeState(bytes).found.empty());
    }
}

// The hash a bsnes state names its ROM by: the standard's own vectors, across block edges.
TEST(StateFormat, Sha256OfTheRom) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, hex] : cases) {
        EXPECT_EQ(Sha256Hex(bytes), hex) << bytes.size() << " bytes";
    }
}

}  // namespace
}  // namespace sw::test
