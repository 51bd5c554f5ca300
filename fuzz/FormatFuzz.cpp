// State framings: the input is a whole file, of any emulator's framing or none. Properties:
// - any bytes are recognised without a fault. A known or too-short verdict leaves `found`
//   empty, a refused one says what the bytes are; too short is only a ZSNES state under 43,163
//   bytes. Unknown comes exactly for bytes with no state magic that are not gzip either: a gzip
//   member is refused, whatever it holds, unless it unwraps to a known state. A known state
//   holds every field within its unwrapped bytes, and those are the file's own bytes exactly
//   when it is not compressed;
// - a known state given new field values (the record read from its work RAM's first 1,159
//   bytes) by GameState::WriteAll is known again in the same format with the same parameters,
//   its unwrapped bytes keep their length and every byte outside the fields, and reading it
//   gives the new record;
// - wrapping a known state's unwrapped bytes again, unchanged, gives bytes that unwrap to the
//   same, and wrapping those gives the same file again (the compression parameters survive).
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <tuple>

#include "FileIO.h"
#include "FuzzSupport.h"
#include "StateFormat.h"

namespace sw::fuzz {
namespace {

using namespace layout;

// The field window at ZSNES offsets, from the player name to the last flag byte.
constexpr long kFirst = kPlayerNameOffset;
constexpr long kEnd = kFlagsOffset + static_cast<long>(kFlagBytes);
constexpr long kWindow = kEnd - kFirst;

// Which bytes of the window a save writes: the texts, cash with its fourth byte and the bank,
// each member's fields (experience with its fourth byte), the flags.
const std::array<bool, kWindow>& FieldMask() {
    static const std::array<bool, kWindow> mask = [] {
        std::array<bool, kWindow> m{};
        const auto mark = [&m](long at, long count) {
            std::fill_n(m.begin() + (at - kFirst), count, true);
        };
        mark(kPlayerNameOffset, kPsiSpecialOffset + static_cast<long>(kPsiSpecialBytes) - kFirst);
        mark(kMoneyOffset, kBankOffset + static_cast<long>(kMoneyBytes) - kMoneyOffset);
        for (int slot = 0; slot < kMemberCount; ++slot) {
            const long base = MemberBase(slot);
            mark(base + kNameRel, static_cast<long>(kNameBytes));
            mark(base + kLevelRel, kPpMaxRel + static_cast<long>(kPointsBytes) - kLevelRel);
            mark(base + kAttributesRel, static_cast<long>(kAttributeCount));
            mark(base + kGoodsRel, static_cast<long>(kGoodsSlots));
            mark(base + kHpRel, static_cast<long>(kPointsBytes));
            mark(base + kPpRel, static_cast<long>(kPointsBytes));
        }
        mark(kFlagsOffset, static_cast<long>(kFlagBytes));
        return m;
    }();
    return mask;
}

bool StartsWith(std::string_view bytes, std::string_view magic) {
    return bytes.substr(0, magic.size()) == magic;
}

bool SameFormat(const StateFormat& a, const StateFormat& b) {
    return std::tie(a.name, a.compression, a.wram, a.romSha256, a.sram, a.level, a.rzipChunk,
                    a.gzipHeader) == std::tie(b.name, b.compression, b.wram, b.romSha256, b.sram,
                                              b.level, b.rzipChunk, b.gzipHeader);
}

void CheckVerdict(std::string_view file, const StateRecognition& r) {
    const bool gzip = StartsWith(file, std::string_view("\x1f\x8b", 2));
    FUZZ_CHECK((r.verdict == StateVerdict::kUnknown) == (!HasStateMagic(file) && !gzip));
    FUZZ_CHECK(r.found.empty() == (r.verdict != StateVerdict::kRefused));
    if (r.verdict == StateVerdict::kTooShort) {
        FUZZ_CHECK(StartsWith(file, kStateHeader) && file.size() < kMinStateSize);
    }
    if (r.Known()) {
        FUZZ_CHECK(!r.format.name.empty());
        FUZZ_CHECK((r.format.compression == StateCompression::kNone) == r.unwrapped.empty());
        FUZZ_CHECK(r.format.wram >= 0);
        FUZZ_CHECK(r.format.FieldShift() + kEnd <= static_cast<long>(r.Bytes(file).size()));
    }
}

// A record of bytes the fuzzer controls that are not fields themselves: the field table laid
// over the start of the work RAM.
GameState NewValues(std::string_view unwrapped, const StateFormat& format) {
    std::string copy(unwrapped);
    FilePtr file = OpenMemory(copy);
    FUZZ_CHECK(file);
    GameState values = IndexedState();
    FUZZ_CHECK(values.ReadAll(file.get(), format.wram - kFirst));
    return values;
}

void CheckEdit(std::string_view file, const StateRecognition& r) {
    GameState read = IndexedState();
    FUZZ_CHECK(read.ReadAll(file));
    const GameState values = NewValues(r.Bytes(file), r.format);

    std::string written(file);
    FUZZ_CHECK(values.WriteAll(written));
    const StateRecognition again = RecognizeState(written);
    FUZZ_CHECK(again.Known() && SameFormat(again.format, r.format));

    const std::string_view before = r.Bytes(file);
    const std::string_view after = again.Bytes(written);
    FUZZ_CHECK(after.size() == before.size());
    const std::size_t first = static_cast<std::size_t>(r.format.FieldShift() + kFirst);
    FUZZ_CHECK(after.substr(0, first) == before.substr(0, first));
    FUZZ_CHECK(after.substr(first + kWindow) == before.substr(first + kWindow));
    const std::array<bool, kWindow>& mask = FieldMask();
    for (std::size_t i = 0; i < mask.size(); ++i) {
        FUZZ_CHECK(mask[i] || after[first + i] == before[first + i]);
    }

    GameState back = IndexedState();
    FUZZ_CHECK(back.ReadAll(written));
    FUZZ_CHECK(SameRecord(back, values));
}

void CheckRewrap(std::string_view file, const StateRecognition& r) {
    std::string wrapped;
    FUZZ_CHECK(WrapState(r.format, r.Bytes(file), wrapped));
    if (r.format.compression == StateCompression::kNone) {
        FUZZ_CHECK(wrapped == file);
        return;
    }
    const StateRecognition again = RecognizeState(wrapped);
    FUZZ_CHECK(again.Known() && SameFormat(again.format, r.format));
    FUZZ_CHECK(again.unwrapped == r.unwrapped);
    std::string twice;
    FUZZ_CHECK(WrapState(again.format, again.unwrapped, twice) && twice == wrapped);
}

}  // namespace
}  // namespace sw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sw::fuzz;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const sw::StateRecognition r = sw::RecognizeState(file);
    CheckVerdict(file, r);
    if (r.Known()) {
        CheckEdit(file, r);
        CheckRewrap(file, r);
    }
    return 0;
}
