// The save state's check, readers and writers. The file is the demo state's first 42,004 bytes
// (header and all) followed by the input, so the input holds every game field (1,159 bytes from
// the player name to the last flag byte) and sets the length. Properties:
// - the state is accepted exactly when it is long enough, and then it reads whole;
// - writing the record read into a copy keeps the copy's length and every byte outside the
//   game fields, and reading the copy gives the same record back.
#include <algorithm>

#include "Demo.h"
#include "FileIO.h"
#include "FuzzSupport.h"
#include "StateCheck.h"

namespace sw::fuzz {
namespace {

constexpr long kInputAt = 42004;
constexpr long kMinSize = 43163;

// The bytes a save may change, written out as numbers so that a wrong layout constant shows:
// texts, cash with its fourth byte and the bank, the four members' fields, the flags.
bool IsFieldByte(long at) {
    if ((at >= 42004 && at < 42050) || (at >= 42052 && at < 42059) || (at >= 43035 && at < 43163)) {
        return true;
    }
    for (long base = 42465; base <= 42750; base += 95) {
        const long rel = at - base;
        if ((rel >= 0 && rel < 14) || (rel >= 21 && rel < 28) || (rel >= 35 && rel < 49) ||
            rel == 71 || rel == 72 || rel == 77 || rel == 78) {
            return true;
        }
    }
    return false;
}

const Bytes& Prefix() {
    static const Bytes prefix = [] {
        Bytes state = MakeDemoState();
        state.resize(kInputAt);
        return state;
    }();
    return prefix;
}

GameState ReadState(const std::string& path, bool expectWhole) {
    GameState state = IndexedState();
    FileProblem problem;
    FilePtr file = OpenExisting(path, FileAccess::kRead, problem);
    FUZZ_CHECK(file);
    FUZZ_CHECK(state.ReadAll(file.get()) == expectWhole);
    return state;
}

}  // namespace
}  // namespace sw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sw;
    using namespace sw::fuzz;
    Bytes bytes = Prefix();
    bytes.insert(bytes.end(), data, data + size);
    const std::string path = PathIn("state.zs1");
    WriteFile(path, bytes);

    CountingPrompter prompter;
    const bool usable = static_cast<long>(bytes.size()) >= kMinSize;
    FUZZ_CHECK(ValidateStateFile(path, prompter) == usable);
    FUZZ_CHECK(prompter.messages == (usable ? 0 : 1));
    const GameState read = ReadState(path, usable);
    if (!usable) {
        return 0;  // the program opens no such state, so nothing is written into it
    }

    const std::string copy = PathIn("copy.zs1");
    WriteFile(copy, bytes);
    {
        FileProblem problem;
        FilePtr file = OpenExisting(copy, FileAccess::kUpdate, problem);
        FUZZ_CHECK(file);
        BackupKeeper noBackups = BackupKeeper::Off();  // the save as the program makes it
        FUZZ_CHECK(SaveStateFile(file.get(), copy, read, noBackups).empty());
    }
    const Bytes written = ReadFile(copy);
    FUZZ_CHECK(written.size() == bytes.size());
    // The fields all lie in the input's first 1,159 bytes; the rest is compared in one go.
    FUZZ_CHECK(std::equal(bytes.begin(), bytes.begin() + kInputAt, written.begin()));
    FUZZ_CHECK(std::equal(bytes.begin() + kMinSize, bytes.end(), written.begin() + kMinSize));
    for (long at = kInputAt; at < kMinSize; ++at) {
        FUZZ_CHECK(IsFieldByte(at) || written[at] == bytes[at]);
    }
    FUZZ_CHECK(SameRecord(ReadState(copy, true), read));
    return 0;
}
